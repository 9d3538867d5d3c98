#pragma once
#include <QString>

// The help page "Aide/Aide.htm": beside the executable in the build tree,
// under share/calvenor once installed.
class HelpPage {
public:
    // The page for a program in the given folder. When it is in neither
    // place, the place where it should have been.
    static QString Path(const QString& programFolder);
};
