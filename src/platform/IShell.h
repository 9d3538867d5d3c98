#pragma once
#include <QString>
#include <optional>

// Desktop services: special folders, opening documents, choosers, beep and
// minimising the application.
class IShell {
public:
    virtual ~IShell() = default;
    virtual QString documentsFolder() = 0;
    // Opens a folder, a page or an address with the desktop's handler.
    virtual bool open(const QString& pathOrUrl) = 0;
    // The folder browser; nothing when the user cancels.
    virtual std::optional<QString> browseFolder(const QString& title, const QString& preselected) = 0;
    // The file-open dialog; nothing when the user cancels.
    virtual std::optional<QString> chooseFile(const QString& title, const QString& filter) = 0;
    virtual void beep() = 0;
    virtual void minimizeApplication() = 0;
    virtual void restoreApplication() = 0;
};
