#include "cddb/AlbumRelease.h"
#include "disc/AlbumSheet.h"
#include "disc/DiscToc.h"
#include "platform/TargetNameRule.h"

const QString AlbumRelease::CddbCategoryId = QStringLiteral("cddb-category");
const QString AlbumRelease::CddbDiscId = QStringLiteral("cddb");
const QString& AlbumRelease::MusicBrainzReleaseId = AlbumSheet::MusicBrainzReleaseId;
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
        // Entries go by track number: a disc (an image) may start past 01.
        while (release.titles.size() < track.number - 1) {
            release.titles << QString();
            release.artists << QString();
        }
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

namespace {
// Where the title splits at separator into an artist and a title, both named.
qsizetype splitAt(const QString& title, const QString& separator)
{
    const qsizetype at = title.indexOf(separator);
    return at > 0 && !title.mid(at + separator.size()).trimmed().isEmpty() ? at : -1;
}

bool allSplitAt(const QStringList& titles, const QString& separator)
{
    for (const QString& title : titles)
        if (splitAt(title, separator) < 0)
            return false;
    return !titles.isEmpty();
}
} // namespace

AlbumRelease AlbumRelease::WithTrackArtistsSplit() const
{
    if (!AlbumSheet::NamesVariousArtists(artist))
        return *this;
    const QString slash = QStringLiteral(" / ");
    const QString dash = QStringLiteral(" - ");
    AlbumRelease split = *this;
    while (split.artists.size() < titles.size())
        split.artists << QString();
    for (const QString& separator : {slash, dash}) {
        if (separator == dash && !allSplitAt(titles, dash))
            continue;
        for (int i = 0; i < titles.size(); ++i) {
            const qsizetype at = splitAt(split.titles.at(i), separator);
            if (at < 0 || !split.artists.at(i).isEmpty())
                continue;
            split.artists[i] = split.titles.at(i).left(at).trimmed();
            split.titles[i] = split.titles.at(i).mid(at + separator.size()).trimmed();
        }
    }
    return split;
}

QString AlbumRelease::TrackLine(int index) const
{
    const QString artist = artists.value(index);
    const QString title = titles.value(index);
    return artist.isEmpty() ? title : artist + QStringLiteral(" / ") + title;
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
