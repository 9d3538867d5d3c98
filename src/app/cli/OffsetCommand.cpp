#include "app/cli/OffsetCommand.h"
#include "platform/Settings.h"
#include "rip/ReadOffsetFinder.h"
#include "rip/RipVerification.h"

OffsetCommand::OffsetCommand(ICdRipLibrary& library, const DriveIdentity& drive, const RipVerification& verification,
                             Settings& settings, QTextStream& out)
    : m_library(library), m_drive(drive), m_verification(verification), m_settings(settings), m_out(out)
{
}

int OffsetCommand::Run()
{
    m_out << QStringLiteral("Lecteur : %1\n").arg(m_drive.LogText());
    m_out.flush();
    const auto found = ReadOffsetFinder(m_library, m_verification.Toc).Find(m_verification);
    if (!found) {
        m_out << QStringLiteral("Aucun décalage de ±%1 échantillons ne correspond à la base AccurateRip ; rien n'est "
                                "changé.\n")
                     .arg(ReadOffsetFinder::Range);
        return 1;
    }
    m_drive.SaveReadOffset(m_settings, found->Offset);
    m_out << QStringLiteral("Décalage de lecture : %1%2 échantillons (AccurateRip, confiance %3)\n")
                 .arg(found->Offset > 0 ? QStringLiteral("+") : QString())
                 .arg(found->Offset)
                 .arg(found->Confidence);
    return 0;
}
