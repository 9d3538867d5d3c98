#pragma once
#include <QTextStream>

class ICdRipLibrary;
class Settings;
struct RipVerification;

// calvenor-rip --find-offset: the drive's read offset found against the
// AccurateRip database, printed and kept in the settings.
class OffsetCommand {
public:
    // library: its active drive holds the disc of verification's table of contents.
    OffsetCommand(ICdRipLibrary& library, const RipVerification& verification, Settings& settings, QTextStream& out);

    // 0 when found and saved, 1 when no offset matches (nothing changed).
    // Raises CalvenorError when the database is not asked or does not answer.
    int Run();

private:
    ICdRipLibrary& m_library;
    const RipVerification& m_verification;
    Settings& m_settings;
    QTextStream& m_out;
};
