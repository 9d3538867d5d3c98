#pragma once
#include <QString>

class IDialogService;
class IShell;

// The help page "Aide/Aide.htm": beside the executable in the build tree,
// under share/calvenor once installed.
class HelpPage {
public:
    // The page for a program in the given folder. When it is in neither
    // place, the place where it should have been.
    static QString Path(const QString& programFolder);
    // Opens the page of the running program; says in a box when it is missing.
    static void Open(IDialogService& dialogs, IShell& shell);
};
