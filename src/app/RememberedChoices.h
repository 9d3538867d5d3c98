#pragma once
#include <QList>
#include <QSize>
#include <QString>
#include <optional>

class Settings;
class TLameCoder;

// The format, the encoder options, the target folder and the main window's
// size and column widths of a run, kept in
// the settings for the next one when the user asked for it in
// "Préférences"; when not, nothing is kept and everything starts fresh.
class RememberedChoices {
public:
    struct Choices {
        bool mp3 = true;
        // Empty: the default music folder.
        QString folder;
        // FLAC goes before mp3.
        bool flac = false;
        // The main window's size (when not maximised) and its list's column
        // widths; empty: as laid out.
        QSize windowSize{};
        bool maximised = false;
        QList<int> columnWidths{};
    };

    explicit RememberedChoices(Settings& settings) : m_settings(settings) {}

    // The choices kept last time, the coder set to the options kept with
    // them; nothing, and the coder untouched, when remembering is off or
    // nothing was kept yet.
    std::optional<Choices> Restore(TLameCoder& coder) const;
    // Keeps the choices and the coder's options, when remembering is on.
    void Save(const Choices& choices, const TLameCoder& coder);

private:
    Settings& m_settings;
};
