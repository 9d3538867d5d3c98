#pragma once
#include "cddb/AlbumRelease.h"
#include "disc/DiscToc.h"
#include "platform/PlatformServices.h"
#include <QList>
#include <QString>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>

class AlbumSheet;
class IReleaseChooser;
class MusicBrainzClient;
class Settings;
class TCDDBConnect;

// One lookup of a disc by its table of contents: CDDB and MusicBrainz are
// asked in turn until one knows the disc, the caller chooses among several
// albums, CDDB's record of the chosen one is read. The disc's own CD-Text,
// when it has some, is offered beside what a source found, and is the album
// found when no source knows the disc. What each source gave
// instead is kept, and the album found can be written into an album sheet.
class DiscLookup {
public:
    enum class Source { Cddb, MusicBrainz };
    enum class Outcome { Found, NotFound, Cancelled };

    // What to ask, where, and in which order.
    struct Options {
        QString email;
        QString cddbServer;        // empty: the client's default
        QString musicBrainzServer; // empty: the default
        QList<Source> order{Source::Cddb, Source::MusicBrainz};

        static Options FromSettings(const Settings& settings);
    };

    // Why a source gave nothing: its server's answer, in French when it is
    // a refusal, or the error raised, with its text.
    struct Failure {
        Source source = Source::Cddb;
        QString text;
        std::exception_ptr error;
    };

    explicit DiscLookup(const PlatformServices& services);
    ~DiscLookup();

    TCDDBConnect& Cddb() { return *m_cddb; }
    MusicBrainzClient& MusicBrainz() { return *m_musicBrainz; }
    // A flag that, once set from any thread, ends the lookup as cancelled.
    void SetCancelFlag(const std::atomic<bool>* flag);
    // How each request is run; in place when unset. A window runs it off its
    // own thread so that it can take a click on "Annuler".
    std::function<void(const std::function<void()>& request)> RunRequest;

    Outcome Find(const DiscToc& toc, const Options& options, IReleaseChooser& chooser);
    // The album found, as its source gave it.
    const AlbumRelease& Release() const { return m_release; }
    // What the last source asked offered to choose from: CDDB's match lines
    // or MusicBrainz's releases, then the disc's CD-Text; none for CDDB's one
    // exact match on a disc without CD-Text.
    const QList<AlbumRelease>& Candidates() const { return m_candidates; }
    const QList<Failure>& Failures() const { return m_failures; }
    // The failures as one text for a box, empty when there is none. A CDDB
    // error alone is raised again, as it came.
    QString FailureReport() const;

    // <music folder>/<artist>/<album>/.
    static QString AlbumFolder(const QString& musicFolder, const AlbumRelease& release);
    // The album's values with its source and identifiers, then every track's:
    // artist, album, the genre and year when the source gives them, the
    // title by track number (empty past the release's titles) and the target
    // path in folder, named after fileTitles where the user corrected a title
    // for its file (by track number; the tag keeps the release's title).
    static void Apply(const AlbumRelease& release, AlbumSheet& sheet, const QString& folder, const QString& extension,
                      const QStringList& fileTitles = {});

private:
    void configure(const Options& options);
    Outcome ask(Source source, IReleaseChooser& chooser);
    Outcome askCddb(IReleaseChooser& chooser);
    Outcome chooseAndRead(int code, const QString& answer, IReleaseChooser& chooser);
    Outcome readRecord(const QString& record);
    Outcome askMusicBrainz(IReleaseChooser& chooser);
    QList<AlbumRelease> withCdText(const QList<AlbumRelease>& found) const;
    Outcome offerCdTextBeside(Outcome outcome, IReleaseChooser& chooser);
    // The candidate at that position; cancelled when the user chose none.
    Outcome take(int chosen);
    // False when the lookup was cancelled, before or during the request.
    bool request(const std::function<void()>& call);
    Outcome fail(Source source, const QString& text, std::exception_ptr error = nullptr);

    std::unique_ptr<TCDDBConnect> m_cddb;
    std::unique_ptr<MusicBrainzClient> m_musicBrainz;
    const std::atomic<bool>* m_cancel = nullptr;
    DiscToc m_toc;
    AlbumRelease m_release;
    QList<AlbumRelease> m_candidates;
    QList<Failure> m_failures;
};
