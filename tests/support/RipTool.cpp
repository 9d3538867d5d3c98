#include "support/RipTool.h"
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

RipTool RipTool::Run(const QStringList& arguments, const std::function<void(QProcess&)>& whileRunning)
{
    // The tool never reads the user's own settings here.
    static QTemporaryDir settingsFolder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CALVENOR_SETTINGS"), settingsFolder.filePath(QStringLiteral("Calvenor.conf")));
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(CALVENOR_RIP_EXE), arguments);
    if (whileRunning && tool.waitForStarted())
        whileRunning(tool);
    RipTool run;
    if (!tool.waitForFinished(120000))
        return run;
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.out = QString::fromUtf8(tool.readAllStandardOutput());
    run.err = QString::fromUtf8(tool.readAllStandardError());
    return run;
}
