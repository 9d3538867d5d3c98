#pragma once
#include <QString>

class IDialogService;
class IShell;

// Opens a file, a folder or an address with the desktop's handler, and says
// in French when none could: a missing viewer is never silent.
class DesktopOpen {
public:
    static bool Open(IShell& shell, IDialogService& dialogs, const QString& pathOrUrl);
    static QString NoViewerText(const QString& pathOrUrl);
};
