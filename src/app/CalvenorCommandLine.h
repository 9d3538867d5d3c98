#pragma once
#include "app/CommandHelp.h"
#include <QCommandLineParser>
#include <optional>

// The calvenor command's own options. Help and version are answered on the
// terminal before any window, so they need no display.
class CalvenorCommandLine {
public:
    CalvenorCommandLine();
    // Prints the help or the version when the arguments ask for one and
    // returns the exit code; otherwise the program starts.
    std::optional<int> Answer(int argc, char** argv);

private:
    QCommandLineParser m_parser;
    CommandHelp m_help;
};
