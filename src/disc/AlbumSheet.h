#pragma once
#include "disc/AlbumTrack.h"
#include <QByteArray>
#include "platform/CoverImage.h"
#include "platform/NameTemplate.h"
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

// The album as data: what the disc holds and what the user and the lookups
// made of it. The track list, the lookup window, the tag editor and the rip
// all read and write this one sheet; views follow its signals. Tracks are
// addressed by slot, 1 to TrackCount(), in disc order.
class AlbumSheet : public QObject {
    Q_OBJECT
public:
    // Names of the album's identifiers in Album::ids.
    static const QString MusicBrainzReleaseId;
    static const QString MusicBrainzReleaseGroupId;
    static const QString MusicBrainzAlbumArtistId;
    // MusicBrainz's identifier of its "Various Artists".
    static const QString VariousArtistsId;
    // Where the front cover came from.
    enum class CoverOrigin { None, CoverArtArchive, ChosenFile };

    // Album-wide values and where they came from.
    struct Album {
        // The album artist, as the release credits it.
        QString artist;
        QString title;
        QString year;
        QString genre;
        int discNumber = 0; // 0: not known
        int discCount = 0;
        // The release date in full ("2001-05-02", "2001-05" or "2001"); empty when unknown.
        QString date;
        QString label;
        QString catalogNumber;
        // "CDDB", "MusicBrainz", empty when typed by the user or unknown.
        QString source;
        // The source's identifiers by name ("cddb", "musicbrainz-release", ...).
        QMap<QString, QString> ids;
        // The front cover's encoded image ("image/jpeg" or "image/png"); empty: none.
        QByteArray frontCover;
        QString frontCoverMime;
        CoverOrigin frontCoverOrigin = CoverOrigin::None;
        // Without a cover: why the release's could not be fetched (CoverImage::failure).
        QString frontCoverFailure;
    };

    explicit AlbumSheet(QObject* parent = nullptr);

    const Album& AlbumValues() const { return m_album; }
    void SetAlbum(const Album& album);
    // An empty cover takes the cover away, keeping its failure.
    void SetFrontCover(const CoverImage& cover, CoverOrigin origin);

    int TrackCount() const { return m_tracks.size(); }
    const QList<AlbumTrack>& Tracks() const { return m_tracks; }
    // Slot k, 1 <= k <= TrackCount().
    const AlbumTrack& Track(int k) const { return m_tracks.at(k - 1); }
    bool HasSlot(int k) const { return k >= 1 && k <= m_tracks.size(); }
    // The slot of a track number, 0 when the sheet has no such track.
    int SlotOf(int number) const;
    int TickedCount() const;

    // A new disc: these tracks, no album values.
    void Reset(const QList<AlbumTrack>& tracks);
    void Clear() { Reset({}); }
    // Out-of-range slots are ignored, as a vanished disc makes them. A new
    // title drops the file title corrected from the old one.
    void SetValue(int k, AlbumTrack::Value value, const QString& text);
    // The title track k's file is named after, the tag keeping its own.
    void SetFileTitle(int k, const QString& title);
    // Track k's identifiers at MusicBrainz; empty ones for another source.
    void SetMusicBrainzIds(int k, const AlbumTrack::MusicBrainzIds& ids);
    void SetTicked(int k, bool ticked);
    void TickAll(bool ticked);
    // How targets are named; the default template until told otherwise.
    const NameTemplate& Names() const { return m_names; }
    void SetNames(const NameTemplate& names) { m_names = names; }
    // Slot k's values as the template reads them.
    NameTemplate::Values NameValues(int k) const;
    // Track k's target path from the folder and its values by the template,
    // ending in extension (".mp3", ".flac", ...); every track's;
    // every target with another extension.
    void Retarget(int k, const QString& folder, const QString& extension);
    void RetargetAll(const QString& folder, const QString& extension);
    void SetExtensions(const QString& extension);
    // "Various", "Various Artists" or "Divers", as CDDB names the artist of a compilation.
    static bool NamesVariousArtists(const QString& artist);
    // The album artist is MusicBrainz's "Various Artists" (by its identifier
    // where the album has one, else by its name): the COMPILATION tag.
    static bool IsCompilation(const Album& album);
    // A compilation, or tracks whose artists differ: each track's artist is its own.
    static bool HasTrackArtists(const Album& album, const QList<AlbumTrack>& tracks);
    // The one artist every track of an album that is no compilation names
    // (the user may have renamed the album's), else the album's.
    static QString AlbumArtist(const Album& album, const QList<AlbumTrack>& tracks);

signals:
    // Every track may have changed, or the count.
    void TracksReset();
    void TrackChanged(int k);
    void AlbumChanged();
    // The front cover was set, replaced or taken away.
    void FrontCoverChanged();

private:
    Album m_album;
    NameTemplate m_names;
    QList<AlbumTrack> m_tracks;
};
