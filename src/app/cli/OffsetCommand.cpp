#include "app/cli/OffsetCommand.h"
#include "platform/CalvenorError.h"
#include "platform/Settings.h"
#include "rip/AccurateRipDatabase.h"
#include "rip/ReadOffsetFinder.h"
#include "rip/RipVerification.h"

OffsetCommand::OffsetCommand(ICdRipLibrary& library, const RipVerification& verification, Settings& settings,
                             QTextStream& out)
    : m_library(library), m_verification(verification), m_settings(settings), m_out(out)
{
}

int OffsetCommand::Run()
{
    if (!m_verification.SkipReason.isEmpty() || !m_verification.Http)
        throw CalvenorError(QStringLiteral("La base AccurateRip n'est pas consultée (%1) : le décalage de lecture ne "
                                           "peut pas être cherché.")
                                .arg(m_verification.SkipReason.isEmpty() ? RipVerification::NoNetwork()
                                                                         : m_verification.SkipReason));
    AccurateRipDatabase database(*m_verification.Http, m_verification.Server);
    const auto found = ReadOffsetFinder(m_library, m_verification.Toc).Find(database);
    if (!found) {
        m_out << QStringLiteral("Aucun décalage de ±%1 échantillons ne correspond à la base AccurateRip ; rien n'est "
                                "changé.\n")
                     .arg(ReadOffsetFinder::Range);
        return 1;
    }
    m_settings.SetReadOffset(found->Offset);
    m_out << QStringLiteral("Décalage de lecture : %1%2 échantillons (AccurateRip, confiance %3)\n")
                 .arg(found->Offset > 0 ? QStringLiteral("+") : QString())
                 .arg(found->Offset)
                 .arg(found->Confidence);
    return 0;
}
