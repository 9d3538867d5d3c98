#include "rip/RipLog.h"
#include "platform/FileError.h"
#include "platform/PathText.h"
#include "rip/RipReport.h"
#include <QSaveFile>

namespace {
QString hex8(uint32_t v)
{
    return QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0')).toUpper();
}

QString trackBlock(const TrackRipResult& t)
{
    QString text = RipReport::TrackLabel(t.TrackNum) + '\n';
    const auto line = [&text](const QString& name, const QString& value) {
        text += QStringLiteral("  %1 : %2\n").arg(name, value);
    };
    line(QStringLiteral("Fichier"), t.FileWritten ? t.Path : QStringLiteral("aucun, le disque n'a pas pu être lu"));
    line(QStringLiteral("Durée"), RipReport::Time(t.SectorCount()));
    line(QStringLiteral("Lue en entier"), t.ReadWhole() ? QStringLiteral("oui") : QStringLiteral("non"));
    line(QStringLiteral("Secteurs illisibles"),
         t.LostSectors() ? QStringLiteral("%1 (%2)").arg(t.Read.UnreadSectors.size()).arg(RipReport::UnreadSpans(t))
                         : QStringLiteral("aucun"));
    line(QStringLiteral("Corrections de gigue"), QString::number(t.Read.JitterCorrections));
    if (t.HasChecksums) {
        line(QStringLiteral("CRC32"), hex8(t.Crc));
        line(QStringLiteral("AccurateRip v1"), hex8(t.V1));
        line(QStringLiteral("AccurateRip v2"), hex8(t.V2));
    }
    const QString verdict = t.Verdict.Detail();
    line(QStringLiteral("AccurateRip"), verdict.isEmpty() ? QStringLiteral("non vérifiée") : verdict);
    return text;
}

QString summary(const RipReport& report)
{
    int exact = 0, different = 0, absent = 0;
    for (const TrackRipResult& t : report.Tracks()) {
        exact += t.Verdict.Result == AccurateRipVerdict::Exact;
        different += t.Verdict.Result == AccurateRipVerdict::Different;
        absent += t.Verdict.Result == AccurateRipVerdict::Absent;
    }
    const int damaged = static_cast<int>(report.DamageLines().size());
    QString text = QStringLiteral("Résumé : %1 piste(s) rippée(s), %2 avec des secteurs illisibles")
                       .arg(report.Tracks().size())
                       .arg(damaged);
    if (report.VerificationNote().isEmpty())
        text += QStringLiteral(" ; AccurateRip : %1 exacte(s), %2 différente(s), %3 absente(s)")
                    .arg(exact)
                    .arg(different)
                    .arg(absent);
    return text + QStringLiteral(".\n");
}
} // namespace

const QString RipLog::Ending = QStringLiteral("Rapport.log");

QString RipLog::FileBeside(const QString& trackFile)
{
    return PathText::WithExtension(trackFile, QStringLiteral(" - Rapport.log"));
}

QString RipLog::Text(const Header& header, const RipReport& report)
{
    QString text = QStringLiteral("Calvenor %1 : rapport de rippage\n").arg(QStringLiteral(CALVENOR_VERSION));
    text += QStringLiteral("Date : %1\n").arg(header.Date.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    text += QStringLiteral("Lecteur ou image : %1\n").arg(header.Source);
    text += QStringLiteral("Décalage de lecture : %1 échantillons\n").arg(header.ReadOffset);
    text += QStringLiteral("Mode de paranoia : %1\n").arg(header.ParanoiaMode);
    if (!report.VerificationNote().isEmpty())
        text += QStringLiteral("AccurateRip : %1\n").arg(report.VerificationNote());
    for (const TrackRipResult& t : report.Tracks())
        text += '\n' + trackBlock(t);
    return text + '\n' + summary(report);
}

void RipLog::Save(const QString& path, const Header& header, const RipReport& report)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError::CannotCreate(path, file.errorString());
    file.write(Text(header, report).toUtf8());
    if (!file.commit())
        throw FileError::CannotCreate(path, file.errorString());
}
