#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QProcess;

// One run of the built calvenor-rip tool.
struct RipTool {
    int exitCode = -1; // -1: killed or timed out
    QString out;
    QString err;

    // whileRunning, when given, acts on the tool once it has started.
    static RipTool Run(const QStringList& arguments, const std::function<void(QProcess&)>& whileRunning = nullptr);
    // With folder as the current folder.
    static RipTool RunIn(const QString& folder, const QStringList& arguments);
    // Has the tool raise signal itself at a step of its run (SignalHook), then waits for the end.
    static RipTool RunSignalledAt(const QStringList& arguments, const QString& step, int signal);
    // Sends signal once the error stream holds trigger, then waits for the end.
    static RipTool RunAndSignal(const QStringList& arguments, const QString& trigger, int signal);
    // In a mount namespace of its own, with a fresh tmpfs (mount options
    // given) over folder. Exit code 77: no mount can be made here.
    // check, when given, is a shell command run in folder after the tool,
    // inside the namespace; what it prints goes to err.
    static RipTool RunOnTmpfs(const QString& folder, const QString& options, const QStringList& arguments,
                              const QString& check = QString());
    static constexpr int NoMount = 77;
    // The settings file every run of the tool reads.
    static QString SettingsFile();
};
