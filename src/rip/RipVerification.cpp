#include "rip/RipVerification.h"
#include "disc/AccurateRipDiscId.h"
#include "platform/HttpCancelled.h"
#include "platform/IInternet.h"
#include "rip/DiscProof.h"
#include "platform/Settings.h"
#include "rip/RipReport.h"

RipVerification RipVerification::Online(IHttpClient* http, IInternet* internet, const DiscToc& toc,
                                        const Settings* settings)
{
    RipVerification verification;
    if (settings && !settings->AccurateRipServer().isEmpty())
        verification.Server = settings->AccurateRipServer();
    if (settings && !settings->CtdbServer().isEmpty())
        verification.CtdbServer = settings->CtdbServer();
    if (http && internet && internet->isConnected()) {
        verification.Http = http;
        verification.Toc = toc;
    } else {
        verification.SkipReason = NoNetwork();
    }
    return verification;
}

void RipVerification::Apply(RipReport& report, const std::atomic<bool>* cancel) const
{
    report.SetDiscTable(Toc.IsEmpty() ? QString() : Toc.CtdbLookupToc());
    applyDatabases(report, cancel);
    if (!Http || Toc.IsEmpty())
        return;
    try {
        DiscProof(Http, Toc, RepairsFromCtdb, cancel).Complete(report);
    } catch (const HttpCancelled&) {
        // The stop is told by whoever set it.
    }
}

void RipVerification::applyDatabases(RipReport& report, const std::atomic<bool>* cancel) const
{
    const QString accurateRipSkipped = skipped(SkipReason);
    if (!accurateRipSkipped.isEmpty()) {
        report.SkipVerification(accurateRipSkipped);
    } else {
        AccurateRipDatabase database(*Http, Server, cancel);
        report.Verify(database, AccurateRipDiscId(Toc));
    }
    const QString ctdbSkipped = skipped(CtdbSkipReason);
    if (!ctdbSkipped.isEmpty()) {
        report.SkipDiscVerification(ctdbSkipped);
        return;
    }
    CtdbDatabase database(*Http, CtdbServer, cancel);
    report.VerifyDisc(database, Toc);
}

QString RipVerification::skipped(const QString& reason) const
{
    if (!reason.isEmpty())
        return reason;
    if (!Http)
        return NoNetwork();
    return Toc.IsEmpty() ? NoToc() : QString();
}
