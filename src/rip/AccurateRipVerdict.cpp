#include "rip/AccurateRipVerdict.h"
#include "disc/AccurateRipDiscId.h"
#include "rip/PressingShift.h"
#include "rip/RipReport.h"
#include <cstdlib>

AccurateRipVerdict AccurateRipVerdict::Of(const QList<AccurateRipResponse>& responses,
                                          const AccurateRipDiscId& disc, int slot, uint32_t v1, uint32_t v2)
{
    return best(responses, disc, slot, [v1, v2](uint32_t crc) { return crc == v2 ? 2 : crc == v1 ? 1 : 0; });
}

AccurateRipVerdict AccurateRipVerdict::OfV1(const QList<AccurateRipResponse>& responses,
                                            const AccurateRipDiscId& disc, int slot, uint32_t v1)
{
    return best(responses, disc, slot, [v1](uint32_t crc) { return crc == v1 ? 1 : 0; });
}

bool AccurateRipVerdict::Beats(const AccurateRipVerdict& other) const
{
    if (Result != Exact || other.Result != Exact)
        return Result == Exact && other.Result != Exact;
    if (Confidence != other.Confidence)
        return Confidence > other.Confidence;
    if (Version != other.Version)
        return Version > other.Version;
    return std::abs(Shift) < std::abs(other.Shift);
}

AccurateRipVerdict AccurateRipVerdict::best(const QList<AccurateRipResponse>& responses, const AccurateRipDiscId& disc,
                                            int slot, const std::function<int(uint32_t crc)>& versionOf)
{
    AccurateRipVerdict verdict;
    verdict.Result = Absent;
    for (const AccurateRipResponse& r : responses) {
        if (!r.IsFor(disc) || slot < 1 || slot > r.Tracks.size())
            continue;
        const AccurateRipResponse::Track& t = r.Tracks.at(slot - 1);
        if (verdict.Result == Absent)
            verdict.Result = Different;
        AccurateRipVerdict match;
        match.Result = Exact;
        match.Version = versionOf(t.Crc);
        match.Confidence = t.Confidence;
        if (match.Version != 0 && match.Beats(verdict))
            verdict = match;
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
        return QStringLiteral("exacte (AccurateRip v%1, confiance %2%3)")
            .arg(Version)
            .arg(Confidence)
            .arg(Shift == 0 ? QString() : QStringLiteral(", ") + PressingShift::Text(Shift));
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
