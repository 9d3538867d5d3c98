#pragma once
#include "disc/AlbumTrack.h"
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class DiscToc;

// One album as a metadata source describes it: what the lookup writes into
// the album sheet. A CDDB match not read yet carries only its match line,
// its category and its disc identifier.
struct AlbumRelease {
    // Names of the identifiers, as the album sheet keeps them.
    static const QString CddbCategoryId;
    static const QString CddbDiscId;
    // The album sheet's names for MusicBrainz's (AlbumSheet::MusicBrainzReleaseId...).
    static const QString& MusicBrainzReleaseId;
    static const QString CdTextSource;

    // "CDDB", "MusicBrainz" or "CD-Text".
    QString source;
    QMap<QString, QString> ids;
    // The server's line for a CDDB match ("rock 0c01ac02 Artist / Album").
    QString match;
    QString artist;
    QString album;
    QString year;
    QString country;
    // The release date as the source gives it; empty when it gives none.
    QString date;
    QString label;
    QString catalogNumber;
    // The medium holding the disc and how many the release has; 0: unknown.
    int discNumber = 0;
    int discCount = 0;
    // Genre name; empty when the source gives none.
    QString genre;
    // One entry per audio track, in track order; from CD-Text, entry n - 1
    // is track n's.
    QStringList titles;
    // Each track's artist where the source names one apart from the
    // album's, in track order; empty entries take the album's artist.
    QStringList artists;
    // Each track's MusicBrainz identifiers, in track order; none from other sources.
    QList<AlbumTrack::MusicBrainzIds> trackIds;

    // The album as the disc's own CD-Text names it; no title and no
    // artist when the disc has none.
    static AlbumRelease FromCdText(const DiscToc& toc);

    // The line of the album choice: a CDDB match as the server wrote it,
    // else artist, album, year and country, and "CD-Text" for the disc's own.
    QString ChoiceLine() const;
    // Track index's line in a list of titles: "Artist / Title" when the
    // track names an artist of its own, else its title.
    QString TrackLine(int index) const;
    // A CDDB album of various artists ("Various", "Various Artists",
    // "Divers") whose titles read "Artist / Title" names each track's
    // artist apart; "Artist - Title" only when every title reads so.
    AlbumRelease WithTrackArtistsSplit() const;
    // The names as files may carry them: no control characters.
    AlbumRelease WithoutControlChars() const;
};
