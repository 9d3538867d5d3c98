#include "support/RipTool.h"
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <csignal>
#include <memory>

namespace {
constexpr int TimeoutMs = 120000;

// The tool never reads the user's own settings here.
std::unique_ptr<QProcess> start(const QString& program, const QStringList& arguments,
                                const QMap<QString, QString>& extra = {}, const QString& folder = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CALVENOR_SETTINGS"), RipTool::SettingsFile());
    for (auto it = extra.begin(); it != extra.end(); ++it)
        environment.insert(it.key(), it.value());
    auto tool = std::make_unique<QProcess>();
    tool->setProcessEnvironment(environment);
    tool->setWorkingDirectory(folder);
    tool->start(program, arguments);
    return tool;
}

RipTool finish(QProcess& tool, const QByteArray& errSoFar = {})
{
    RipTool run;
    if (!tool.waitForFinished(TimeoutMs))
        return run;
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.out = QString::fromUtf8(tool.readAllStandardOutput());
    run.err = QString::fromUtf8(errSoFar + tool.readAllStandardError());
    return run;
}
} // namespace

QString RipTool::SettingsFile()
{
    static QTemporaryDir settingsFolder;
    return settingsFolder.filePath(QStringLiteral("Calvenor.conf"));
}

RipTool RipTool::Run(const QStringList& arguments, const std::function<void(QProcess&)>& whileRunning)
{
    const auto tool = start(QStringLiteral(CALVENOR_RIP_EXE), arguments);
    if (whileRunning && tool->waitForStarted())
        whileRunning(*tool);
    return finish(*tool);
}

RipTool RipTool::RunIn(const QString& folder, const QStringList& arguments)
{
    return finish(*start(QStringLiteral(CALVENOR_RIP_EXE), arguments, {}, folder));
}

RipTool RipTool::RunSignalledAt(const QStringList& arguments, const QString& step, int signal)
{
    return finish(*start(QStringLiteral(CALVENOR_RIP_EXE), arguments,
                         {{QStringLiteral("CALVENOR_SIGNAL_AT"), step},
                          {QStringLiteral("CALVENOR_SIGNAL"), QString::number(signal)}}));
}

RipTool RipTool::RunAndSignal(const QStringList& arguments, const QString& trigger, int signal)
{
    const auto tool = start(QStringLiteral(CALVENOR_RIP_EXE), arguments);
    QByteArray err;
    QElapsedTimer clock;
    clock.start();
    while (!err.contains(trigger.toUtf8()) && tool->state() != QProcess::NotRunning && clock.elapsed() < TimeoutMs) {
        tool->waitForReadyRead(10);
        err += tool->readAllStandardError();
    }
    if (tool->state() != QProcess::NotRunning)
        ::kill(pid_t(tool->processId()), signal);
    return finish(*tool, err);
}

RipTool RipTool::RunOnTmpfs(const QString& folder, const QString& options, const QStringList& arguments,
                            const QString& check)
{
    const QString script = QStringLiteral("mount -t tmpfs -o \"$1\" calvenor-test \"$2\" || exit %1; folder=$2; "
                                          "check=$3; shift 3; \"$@\"; rc=$?; cd \"$folder\" && sh -c \"$check\" >&2; "
                                          "exit $rc")
                               .arg(NoMount);
    return finish(*start(QStringLiteral("unshare"),
                         QStringList{"-m", "--propagation", "private", "sh", "-c", script, "sh", options, folder,
                                     check.isEmpty() ? QStringLiteral(":") : check, QStringLiteral(CALVENOR_RIP_EXE)}
                             + arguments));
}
