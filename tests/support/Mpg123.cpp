#include "support/Mpg123.h"
#include <QProcess>
#include <cstring>

std::optional<std::vector<int16_t>> Mpg123::Decode(const QString& mp3)
{
    QProcess p;
    p.start(QStringLiteral("mpg123"), {"--quiet", "--gapless", "--stdout", mp3});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    const QByteArray raw = p.readAllStandardOutput();
    std::vector<int16_t> pcm(size_t(raw.size()) / 2);
    std::memcpy(pcm.data(), raw.constData(), pcm.size() * 2);
    return pcm;
}
