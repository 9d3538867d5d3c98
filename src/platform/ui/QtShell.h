#pragma once
#include "platform/IShell.h"

class QtShell : public IShell {
public:
    QString documentsFolder() override;
    bool open(const QString& pathOrUrl) override;
    std::optional<QString> browseFolder(const QString& title, const QString& preselected) override;
    std::optional<QString> chooseFile(const QString& title, const QString& filter) override;
    void beep() override;
    void minimizeApplication() override;
    void restoreApplication() override;
};
