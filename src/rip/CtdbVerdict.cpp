#include "rip/CtdbVerdict.h"
#include "rip/PressingShift.h"
#include "rip/RipReport.h"

CtdbVerdict CtdbVerdict::Of(const QList<CtdbDatabase::Entry>& entries, uint32_t discCrc)
{
    CtdbVerdict verdict;
    verdict.Result = entries.isEmpty() ? Absent : Different;
    for (const CtdbDatabase::Entry& e : entries)
        if (e.Crc == discCrc && (verdict.Result != Exact || e.Confidence > verdict.Confidence)) {
            verdict.Result = Exact;
            verdict.Confidence = e.Confidence;
        }
    return verdict;
}

CtdbVerdict CtdbVerdict::OfTrack(const QList<CtdbDatabase::Entry>& entries, const CtdbCrc::Sums& sums, int index)
{
    CtdbVerdict verdict;
    verdict.Result = entries.isEmpty() ? Absent : NotChecked;
    for (const CtdbDatabase::Entry& e : entries) {
        const bool listed = index < e.TrackCrcs.size();
        if (e.Crc != sums.Disc && !(listed && e.TrackCrcs.at(index) == sums.Tracks.value(index))) {
            if (listed && verdict.Result != Exact)
                verdict.Result = Different;
        } else if (verdict.Result != Exact || e.Confidence > verdict.Confidence) {
            verdict.Result = Exact;
            verdict.Confidence = e.Confidence;
        }
    }
    return verdict;
}

QString CtdbVerdict::Text() const
{
    const QString detail = detailAgreeing(QString());
    return detail.isEmpty() ? detail : QStringLiteral("Disque : ") + detail;
}

QString CtdbVerdict::TrackText(int trackNum) const
{
    if (Result != Exact && Result != Different)
        return QString();
    return RipReport::TrackLabel(trackNum) + QStringLiteral(" : ") + TrackDetail();
}

QString CtdbVerdict::TrackDetail() const
{
    return detailAgreeing(QStringLiteral("e"));
}

QString CtdbVerdict::detailAgreeing(const QString& ending) const
{
    switch (Result) {
    case Exact:
        if (RepairedSamples > 0)
            return QStringLiteral("réparé%1 selon CTDB (%2), exact%1 (%3)")
                .arg(ending, RepairedSamples == 1 ? QStringLiteral("1 échantillon corrigé")
                                                  : QStringLiteral("%1 échantillons corrigés").arg(RepairedSamples),
                     proof());
        return QStringLiteral("exact%1 selon CTDB (%2)").arg(ending, proof());
    case Different:
        return QStringLiteral("différent%1 de la base CTDB").arg(ending);
    case Absent:
        return QStringLiteral("absent%1 de la base CTDB").arg(ending);
    case NotChecked:
        break;
    }
    return QString();
}

QString CtdbVerdict::proof() const
{
    return QStringLiteral("confiance %1").arg(Confidence)
        + (Shift == 0 ? QString() : QStringLiteral(", ") + PressingShift::Text(Shift));
}
