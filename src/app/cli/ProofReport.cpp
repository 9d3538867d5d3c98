#include "app/cli/ProofReport.h"
#include "app/cli/TerminalText.h"
#include "rip/RipReport.h"

int ProofReport::Print(const RipReport& report, QTextStream& out, QTextStream& err)
{
    for (const QString& line : report.DamageLines() + report.ProofLines())
        out << line << '\n';
    if (!report.VerificationNote().isEmpty())
        err << QStringLiteral("AccurateRip : ") << TerminalText::EscapedMessage(report.VerificationNote()) << '\n';
    if (!report.DiscVerificationNote().isEmpty())
        err << QStringLiteral("CTDB : ") << TerminalText::EscapedMessage(report.DiscVerificationNote()) << '\n';
    if (report.LostSectors())
        return LostSectorsExit;
    return report.DiffersFromKnownDisc() ? DiffersExit : 0;
}
