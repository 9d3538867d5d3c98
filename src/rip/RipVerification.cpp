#include "rip/RipVerification.h"
#include "rip/AccurateRipDiscId.h"
#include "rip/RipReport.h"

void RipVerification::Apply(RipReport& report, const QList<TrackEntry>& tracks, const std::atomic<bool>* cancel) const
{
    if (!Http) {
        report.SkipVerification(SkipReason);
        return;
    }
    AccurateRipDatabase database(*Http, Server, cancel);
    report.Verify(database, AccurateRipDiscId(tracks, CddbId));
}
