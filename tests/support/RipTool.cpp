#include "support/RipTool.h"
#include <QProcess>

RipTool RipTool::Run(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(CALVENOR_RIP_EXE), arguments);
    RipTool run;
    if (!tool.waitForFinished(120000))
        return run;
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.out = QString::fromUtf8(tool.readAllStandardOutput());
    run.err = QString::fromUtf8(tool.readAllStandardError());
    return run;
}
