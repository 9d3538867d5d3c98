#pragma once
#include "app/cli/CddbCommands.h"
#include "platform/NameTemplate.h"
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

class CommandHelp;

// The options of calvenor-rip and the checks of their values. A value that
// does not fit raises UsageError with a French text.
class RipOptions {
public:
    explicit RipOptions(const QCommandLineParser& parser) : m_parser(parser) {}
    // The description, the options in their sections, the argument and the
    // examples, with their French help.
    static void Define(CommandHelp& help);
    // Names every command, for a run given none.
    static QString NoCommandText();

    int Int(const QString& name) const;
    // --bitrate: one of the bitrates of MPEG-1 Layer III.
    uint32_t Bitrate() const;
    // --tracks: "1,3-5", in the order given, each number once.
    QList<int> TrackList() const;
    // --cddb (before --musicbrainz) with its server, --email and --release;
    // none when neither is given.
    std::optional<CddbCommands::Query> Lookup() const;
    // --encoders, else one a core.
    int Encoders() const;
    // --passes: the reads of each track at most, else 1.
    int Passes() const;
    // --flac, alone of the formats.
    bool Flac() const { return Alone("flac"); }
    // --flac-level: from 0 to 8, else 5; only with --flac.
    int FlacLevel() const;
    // --opus, alone of the formats; --opus-bitrate: from 64 to 256 kbit/s, else 160.
    bool Opus() const { return Alone("opus"); }
    int OpusKbps() const;
    // --vorbis, alone of the formats; --vorbis-quality: from -1 to 10, else 6.
    bool Vorbis() const { return Alone("vorbis"); }
    int VorbisQuality() const;
    // Any format option given.
    bool FormatChosen() const;
    // --dir, else the current folder.
    QString Folder() const;
    // --name, else the template of the preferences.
    NameTemplate Names() const;

private:
    // A format's one setting: its option, its range and its default.
    struct Setting {
        const char* format;
        const char* name;
        const char* what;
        int min;
        int max;
        int fallback;
    };
    bool Alone(const char* format) const;
    int SettingOf(const Setting& setting) const;
    const QCommandLineParser& m_parser;
};
