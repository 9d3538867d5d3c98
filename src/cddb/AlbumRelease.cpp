#include "cddb/AlbumRelease.h"
#include "disc/DiscToc.h"
#include "platform/TargetNameRule.h"

const QString AlbumRelease::CddbCategoryId = QStringLiteral("cddb-category");
const QString AlbumRelease::CddbDiscId = QStringLiteral("cddb");
const QString AlbumRelease::MusicBrainzReleaseId = QStringLiteral("musicbrainz-release");
const QString AlbumRelease::CdTextSource = QStringLiteral("CD-Text");

// A disc naming no album performer but its tracks' gets the first track's
// as the album's artist, so that its folder is named.
AlbumRelease AlbumRelease::FromCdText(const DiscToc& toc)
{
    AlbumRelease release;
    release.source = CdTextSource;
    release.album = toc.AlbumText().title;
    release.artist = toc.AlbumText().performer;
    for (const TocTrack& track : toc.Tracks()) {
        release.titles << track.text.title;
        release.artists << (track.text.performer == release.artist ? QString() : track.text.performer);
    }
    if (release.artist.isEmpty() && !release.artists.isEmpty()) {
        release.artist = release.artists.first();
        for (QString& artist : release.artists)
            if (artist == release.artist)
                artist.clear();
    }
    return release;
}

QString AlbumRelease::ChoiceLine() const
{
    if (!match.isEmpty())
        return match;
    QStringList parts{artist + QStringLiteral(" / ") + album};
    if (!year.isEmpty())
        parts << year;
    if (!country.isEmpty())
        parts << country;
    if (source == CdTextSource)
        parts << source;
    return parts.join(QStringLiteral(" – "));
}

AlbumRelease AlbumRelease::WithoutControlChars() const
{
    AlbumRelease clean = *this;
    clean.artist = TargetNameRule::WithoutControlChars(artist);
    clean.album = TargetNameRule::WithoutControlChars(album);
    for (QStringList* names : {&clean.titles, &clean.artists})
        for (QString& name : *names)
            name = TargetNameRule::WithoutControlChars(name);
    return clean;
}
