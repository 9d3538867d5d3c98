#include "support/ToolRun.h"
#include <QProcess>

namespace {
constexpr int TimeoutMs = 60000;
} // namespace

std::optional<QByteArray> ToolRun::Output(const QString& program, const QStringList& arguments,
                                          const QByteArray& input)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForStarted(TimeoutMs))
        return std::nullopt;
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(TimeoutMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return p.readAllStandardOutput();
}
