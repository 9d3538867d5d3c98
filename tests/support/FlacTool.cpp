#include "support/FlacTool.h"
#include "support/ToolRun.h"
#include <QStringList>

namespace {
std::optional<QByteArray> run(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    return ToolRun::Output(program, arguments, input);
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
