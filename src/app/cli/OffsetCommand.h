#pragma once
#include "platform/DriveIdentity.h"
#include <QTextStream>

class ICdRipLibrary;
class Settings;
struct RipVerification;

// calvenor-rip --find-offset: the drive's read offset found against the
// AccurateRip database, printed and kept in the settings.
class OffsetCommand {
public:
    // library: its active drive, that drive, holds the disc of verification's table of contents.
    OffsetCommand(ICdRipLibrary& library, const DriveIdentity& drive, const RipVerification& verification,
                  Settings& settings, QTextStream& out);

    // Prints the drive's model; 0 when found and saved for that model, 1 when no offset matches (nothing changed).
    // Raises CalvenorError when the database is not asked or does not answer.
    int Run();

private:
    ICdRipLibrary& m_library;
    DriveIdentity m_drive;
    const RipVerification& m_verification;
    Settings& m_settings;
    QTextStream& m_out;
};
