#include "rip/AccurateRipVerdict.h"
#include "disc/AccurateRipDiscId.h"
#include "rip/RipReport.h"

AccurateRipVerdict AccurateRipVerdict::Of(const QList<AccurateRipResponse>& responses,
                                          const AccurateRipDiscId& disc, int slot, uint32_t v1, uint32_t v2)
{
    AccurateRipVerdict verdict;
    verdict.Result = Absent;
    for (const AccurateRipResponse& r : responses) {
        if (!r.IsFor(disc) || slot < 1 || slot > r.Tracks.size())
            continue;
        const AccurateRipResponse::Track& t = r.Tracks.at(slot - 1);
        if (verdict.Result == Absent)
            verdict.Result = Different;
        const int version = t.Crc == v2 ? 2 : t.Crc == v1 ? 1 : 0;
        if (version == 0)
            continue;
        // The best confidence wins; on a tie, the newer checksum.
        if (verdict.Result != Exact || t.Confidence > verdict.Confidence
            || (t.Confidence == verdict.Confidence && version > verdict.Version)) {
            verdict.Result = Exact;
            verdict.Version = version;
            verdict.Confidence = t.Confidence;
        }
    }
    return verdict;
}

QString AccurateRipVerdict::Text(int trackNum) const
{
    const QString detail = Detail();
    return detail.isEmpty() ? detail : RipReport::TrackLabel(trackNum) + QStringLiteral(" : ") + detail;
}

QString AccurateRipVerdict::Detail() const
{
    switch (Result) {
    case Exact:
        return QStringLiteral("exacte (AccurateRip v%1, confiance %2)").arg(Version).arg(Confidence);
    case Different:
        return QStringLiteral("différente de la base AccurateRip");
    case Absent:
        return QStringLiteral("absente de la base AccurateRip");
    case Unverified:
        return QStringLiteral("non vérifiée");
    case NotChecked:
        break;
    }
    return QString();
}
