#include "app/cli/RepairCommand.h"
#include "app/cli/ProofReport.h"
#include "app/cli/VerificationOptions.h"
#include "platform/CalvenorError.h"
#include "platform/IHttpClient.h"
#include "platform/StopSignals.h"
#include "rip/EarlierRip.h"
#include "rip/RipLog.h"
#include "rip/RipReport.h"
#include "rip/RipVerification.h"
#include <QDateTime>
#include <atomic>

RepairCommand::RepairCommand(const QCommandLineParser& parser, std::unique_ptr<IHttpClient>& http, QTextStream& out,
                             QTextStream& err)
    : m_parser(parser), m_http(http), m_out(out), m_err(err)
{
}

int RepairCommand::Run()
{
    const EarlierRip rip = EarlierRip::Read(m_parser.value(QStringLiteral("repair")));
    m_err << QStringLiteral("Fichier CUE : %1\n").arg(rip.CueSheet());
    m_err.flush();
    std::atomic<bool> stop{false};
    const StopSignals stopSignals([&stop] { stop = true; });
    const RipVerification verification =
        VerificationOptions(m_parser).Make(m_http, [&rip]() -> const DiscToc& { return rip.Toc(); });
    RipReport report;
    try {
        report = rip.Report(&stop);
        verification.Apply(report, &stop);
    } catch (const CalvenorError&) {
        if (!stop)
            throw;
    }
    if (stop)
        throw CalvenorError(QStringLiteral("Réparation arrêtée par le signal %1 : chaque fichier est resté tel quel "
                                           "ou a été réécrit en entier.")
                                .arg(StopSignals::Received()));
    RipLog::Append(rip.Log(), RipLog::RepairText(QDateTime::currentDateTime(), rip.CueSheet(), report));
    return ProofReport::Print(report, m_out, m_err);
}
