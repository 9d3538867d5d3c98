#include "cddb/MusicBrainzJson.h"
#include "disc/AlbumSheet.h"
#include "platform/CalvenorError.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
constexpr int YearLength = 4;

QString text(const QJsonObject& o, const char* key)
{
    return o.value(QLatin1String(key)).toString();
}

QJsonArray creditOf(const QJsonObject& o)
{
    return o.value(QLatin1String("artist-credit")).toArray();
}

// Names joined by the join phrases that follow them ("A", " & ", "B").
QString creditText(const QJsonArray& credit)
{
    QString joined;
    for (const QJsonValue& part : credit) {
        const QJsonObject o = part.toObject();
        const QString name = text(o, "name");
        joined += name.isEmpty() ? text(o.value(QLatin1String("artist")).toObject(), "name") : name;
        joined += text(o, "joinphrase");
    }
    return joined;
}

// Every credited artist's identifier, in credit order.
QStringList artistIds(const QJsonArray& credit)
{
    QStringList ids;
    for (const QJsonValue& part : credit)
        if (const QString id = text(part.toObject().value(QLatin1String("artist")).toObject(), "id"); !id.isEmpty())
            ids << id;
    return ids;
}

bool holdsDisc(const QJsonObject& medium, const QString& discId)
{
    for (const QJsonValue& disc : medium.value(QLatin1String("discs")).toArray())
        if (disc.toObject().value(QLatin1String("id")).toString() == discId)
            return true;
    return false;
}

// The medium of the disc; the first one when none names it.
QJsonObject mediumOf(const QJsonObject& release, const QString& discId)
{
    const QJsonArray media = release.value(QLatin1String("media")).toArray();
    for (const QJsonValue& medium : media)
        if (holdsDisc(medium.toObject(), discId))
            return medium.toObject();
    return media.isEmpty() ? QJsonObject() : media.first().toObject();
}

QString yearOf(const QString& date)
{
    const QString year = date.left(YearLength);
    bool digits = year.size() == YearLength;
    for (const QChar c : year)
        digits = digits && c.isDigit();
    return digits ? year : QString();
}

// Titles, artists and identifiers by position (1-based); data tracks are
// listed apart and stay out. A track credited as the album is has no
// artist of its own.
void readTracks(const QJsonObject& medium, int trackCount, AlbumRelease& album)
{
    const QJsonArray tracks = medium.value(QLatin1String("tracks")).toArray();
    const int count = trackCount > 0 ? trackCount : tracks.size();
    album.titles = QStringList(count, QString());
    album.artists = QStringList(count, QString());
    album.trackIds = QList<AlbumTrack::MusicBrainzIds>(count);
    for (const QJsonValue& value : tracks) {
        const QJsonObject track = value.toObject();
        const int position = track.value(QLatin1String("position")).toInt();
        if (position < 1 || position > count)
            continue;
        const QJsonArray credit = creditOf(track);
        const QString artist = creditText(credit);
        album.titles[position - 1] = text(track, "title");
        album.artists[position - 1] = artist == album.artist ? QString() : artist;
        album.trackIds[position - 1] = {text(track, "id"),
                                        text(track.value(QLatin1String("recording")).toObject(), "id"),
                                        artistIds(credit)};
    }
}

// The first label and catalogue number the release names.
void readLabel(const QJsonObject& release, AlbumRelease& album)
{
    for (const QJsonValue& value : release.value(QLatin1String("label-info")).toArray()) {
        const QJsonObject info = value.toObject();
        if (album.label.isEmpty())
            album.label = text(info.value(QLatin1String("label")).toObject(), "name");
        if (album.catalogNumber.isEmpty())
            album.catalogNumber = text(info, "catalog-number");
    }
}

void insertId(AlbumRelease& album, const QString& name, const QString& id)
{
    if (!id.isEmpty())
        album.ids.insert(name, id);
}

AlbumRelease releaseOf(const QJsonObject& release, const QString& discId, int trackCount)
{
    AlbumRelease album;
    album.source = QStringLiteral("MusicBrainz");
    album.ids.insert(AlbumRelease::MusicBrainzReleaseId, text(release, "id"));
    insertId(album, AlbumSheet::MusicBrainzReleaseGroupId,
             text(release.value(QLatin1String("release-group")).toObject(), "id"));
    insertId(album, AlbumSheet::MusicBrainzAlbumArtistId, artistIds(creditOf(release)).value(0));
    album.artist = creditText(creditOf(release));
    album.album = text(release, "title");
    album.date = text(release, "date");
    album.year = yearOf(album.date);
    album.country = text(release, "country");
    readLabel(release, album);
    const QJsonObject medium = mediumOf(release, discId);
    album.discNumber = medium.value(QLatin1String("position")).toInt();
    album.discCount = static_cast<int>(release.value(QLatin1String("media")).toArray().size());
    readTracks(medium, trackCount, album);
    return album;
}

} // namespace

QList<AlbumRelease> MusicBrainzJson::Releases(const QByteArray& json, const QString& discId, int trackCount)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw CalvenorError(QStringLiteral("La réponse du serveur MusicBrainz n'est pas lisible (%1).")
                                .arg(document.isNull() ? QStringLiteral("JSON incorrect à l'octet %1").arg(error.offset)
                                                       : QStringLiteral("objet JSON attendu")));
    QList<AlbumRelease> releases;
    for (const QJsonValue& value : document.object().value(QLatin1String("releases")).toArray())
        releases << releaseOf(value.toObject(), discId, trackCount);
    return releases;
}
