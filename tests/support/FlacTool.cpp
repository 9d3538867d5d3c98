#include "support/FlacTool.h"
#include <QProcess>
#include <QStringList>

namespace {
constexpr int TimeoutMs = 60000;

std::optional<QByteArray> run(const QString& program, const QStringList& arguments, const QByteArray& input = {})
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
} // namespace

bool FlacTool::Encode(const QByteArray& pcm, int channels, int sampleRate, int bits, const QString& flac)
{
    return run(QStringLiteral("flac"),
               {"--silent", "--force", "--force-raw-format", "--endian=little", "--sign=signed",
                QStringLiteral("--channels=%1").arg(channels), QStringLiteral("--sample-rate=%1").arg(sampleRate),
                QStringLiteral("--bps=%1").arg(bits), "-o", flac, "-"},
               pcm)
        .has_value();
}

std::optional<QByteArray> FlacTool::Decode(const QString& flac)
{
    return run(QStringLiteral("flac"), {"--decode", "--silent", "--stdout", "--force-raw-format", "--endian=little",
                                        "--sign=signed", flac});
}

QString FlacTool::Md5(const QString& flac)
{
    return QString::fromLatin1(run(QStringLiteral("metaflac"), {"--show-md5sum", flac}).value_or(QByteArray()))
        .trimmed();
}
