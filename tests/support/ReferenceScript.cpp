#include "support/ReferenceScript.h"
#include "support/DiscImage.h"
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

QJsonObject ReferenceScript::Run(const QString& script, const DiscImage& image, const QString& cue,
                                 const QStringList& more)
{
    QStringList arguments{QStringLiteral(CALVENOR_SOURCE_DIR "/tests/rip/") + script,
                          QString(cue).replace(QLatin1String(".cue"), QLatin1String(".bin"))};
    for (const DiscImage::Track& t : image.Tracks())
        arguments << QStringLiteral("%1:%2:%3").arg(t.audio ? "a" : "d").arg(t.firstSector).arg(t.lastSector);
    arguments << QStringLiteral("--leadout") << QString::number(image.LeadOutSector()) << more;
    QProcess python;
    python.start(QStringLiteral("python3"), arguments);
    EXPECT_TRUE(python.waitForFinished(60000));
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}
