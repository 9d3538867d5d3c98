#include "support/Mutagen.h"
#include <QFile>
#include <QJsonDocument>
#include <QProcess>

QJsonObject Mutagen::Run(const char* script, const QString& path)
{
    const QString python =
        QFile::exists("/usr/bin/python3") ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3");
    QProcess reader;
    reader.start(python, {"-c", QString::fromUtf8(script), path});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0)
        return {{"failure", QString::fromUtf8(reader.readAllStandardError())}};
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}
