#pragma once
#include <QSettings>
#include <QString>
#include <optional>

// What lasts between runs: the e-mail address today's CDDB server asks for,
// the metadata, cover and verification servers and the metadata's order, the drive's read offset, how many
// times each track may be read and, when the user wants them kept, the
// choices of the last run. Everything else starts fresh at each run.
class Settings {
public:
    // The user's file: ~/.config/Calvenor/Calvenor.ini, or the file named by
    // CALVENOR_SETTINGS.
    Settings();
    // A file of the caller's choice, for tests and tools.
    explicit Settings(const QString& iniPath);

    QString Email() const;
    void SetEmail(const QString& address);

    // Empty means the built-in default server.
    QString CddbServer() const;
    void SetCddbServer(const QString& url);
    QString MusicBrainzServer() const;
    void SetMusicBrainzServer(const QString& url);
    // The Cover Art Archive, AccurateRip and CUETools database servers a rip
    // of the window asks, as calvenor-rip's --cover-server,
    // --accuraterip-server and --ctdb-server name them.
    QString CoverServer() const;
    void SetCoverServer(const QString& url);
    QString AccurateRipServer() const;
    void SetAccurateRipServer(const QString& url);
    QString CtdbServer() const;
    void SetCtdbServer(const QString& url);

    bool MusicBrainzFirst() const;
    void SetMusicBrainzFirst(bool first);

    // Samples the drive reads early (negative) or late (positive): the
    // offset saved before offsets were kept per drive model.
    int ReadOffset() const;
    void SetReadOffset(int samples);
    // The offset saved for a drive model ("VENDOR MODEL"), else the one
    // above; an empty model is the one above.
    int ReadOffset(const QString& model) const;
    // Only what was saved under that model.
    std::optional<int> SavedReadOffset(const QString& model) const;
    void SetReadOffset(const QString& model, int samples);

    // Whether the format, the encoder options and the target folder are kept
    // from one run to the next; off unless the user turned it on.
    bool RememberChoices() const;
    void SetRememberChoices(bool remember);
    // One kept choice by name; invalid when none is kept.
    QVariant Choice(const QString& name) const;
    void SetChoice(const QString& name, const QVariant& value);

    // The reads of each track at most, 1 to MaxPasses; 1 reads it once.
    static constexpr int MaxPasses = 16;
    int Passes() const;
    void SetPasses(int passes);
    // The FLAC compression level of a rip, 0 to 8.
    int FlacLevel() const;
    void SetFlacLevel(int level);

    // What a rip makes of the album's front cover: embedded in each file,
    // saved as cover.jpg in the album's folder, both (the default) or neither.
    enum class CoverUse { Embed, SaveFile, Both, None };
    CoverUse Cover() const;
    void SetCover(CoverUse use);

    // The NameTemplate text of the files of a rip; today's names by default.
    QString FileNameTemplate() const;
    void SetFileNameTemplate(const QString& text);

    // Whether a rip measures its tracks' loudness and writes their
    // ReplayGain into the files; on unless the user turned it off.
    bool ReplayGain() const;
    void SetReplayGain(bool on);
    // Whether the part read of a track stopped short is kept under a name of its own; true by default.
    bool KeepIncomplete() const;
    void SetKeepIncomplete(bool keep);

    // False when the last change could not be written.
    bool Saved();
    QString FileName() const;

private:
    void Store(const QString& key, const QVariant& value);
    std::optional<int> savedInt(const QString& key) const;

    QSettings store;
};
