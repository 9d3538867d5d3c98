#include "cddb/AlbumRelease.h"
#include "platform/TargetNameRule.h"

const QString AlbumRelease::CddbCategoryId = QStringLiteral("cddb-category");
const QString AlbumRelease::CddbDiscId = QStringLiteral("cddb");
const QString AlbumRelease::MusicBrainzReleaseId = QStringLiteral("musicbrainz-release");

QString AlbumRelease::ChoiceLine() const
{
    if (!match.isEmpty())
        return match;
    QStringList parts{artist + QStringLiteral(" / ") + album};
    if (!year.isEmpty())
        parts << year;
    if (!country.isEmpty())
        parts << country;
    return parts.join(QStringLiteral(" – "));
}

AlbumRelease AlbumRelease::WithoutControlChars() const
{
    AlbumRelease clean = *this;
    clean.artist = TargetNameRule::WithoutControlChars(artist);
    clean.album = TargetNameRule::WithoutControlChars(album);
    for (QString& title : clean.titles)
        title = TargetNameRule::WithoutControlChars(title);
    return clean;
}
