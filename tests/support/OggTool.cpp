#include "support/OggTool.h"
#include <QFile>
#include <QProcess>

int OggTool::DecodedFrames(const QString& path, int sampleRate, int channels)
{
    const QString wav = path + QLatin1String(".decoded.wav");
    QProcess p;
    if (path.endsWith(QLatin1String(".opus")))
        p.start(QStringLiteral("opusdec"),
                {QStringLiteral("--quiet"), QStringLiteral("--rate"), QString::number(sampleRate), path, wav});
    else
        p.start(QStringLiteral("oggdec"), {QStringLiteral("--quiet"), QStringLiteral("-o"), wav, path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return -1;
    QFile f(wav);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = f.readAll();
    f.remove();
    const int data = bytes.indexOf("data");
    return data < 0 ? -1 : int(bytes.size() - data - 8) / (2 * channels);
}
