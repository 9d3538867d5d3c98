#include "rip/RipVerification.h"
#include "disc/AccurateRipDiscId.h"
#include "rip/RipReport.h"

void RipVerification::Apply(RipReport& report, const std::atomic<bool>* cancel) const
{
    if (!Http || Toc.IsEmpty()) {
        report.SkipVerification(Http ? NoToc() : SkipReason);
        return;
    }
    AccurateRipDatabase database(*Http, Server, cancel);
    report.Verify(database, AccurateRipDiscId(Toc));
}
