#include "cddb/MusicBrainzJson.h"
#include "platform/CalvenorError.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
constexpr int YearLength = 4;

// Names joined by the join phrases that follow them ("A", " & ", "B").
QString creditText(const QJsonArray& credit)
{
    QString text;
    for (const QJsonValue& part : credit) {
        const QJsonObject o = part.toObject();
        const QString name = o.value(QLatin1String("name")).toString();
        text += name.isEmpty() ? o.value(QLatin1String("artist")).toObject().value(QLatin1String("name")).toString()
                               : name;
        text += o.value(QLatin1String("joinphrase")).toString();
    }
    return text;
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

// Titles by position (1-based); data tracks are listed apart and stay out.
QStringList titlesOf(const QJsonObject& medium, int trackCount)
{
    const QJsonArray tracks = medium.value(QLatin1String("tracks")).toArray();
    QStringList titles;
    for (int k = 0; k < (trackCount > 0 ? trackCount : tracks.size()); ++k)
        titles << QString();
    for (const QJsonValue& value : tracks) {
        const QJsonObject track = value.toObject();
        const int position = track.value(QLatin1String("position")).toInt();
        if (position >= 1 && position <= titles.size())
            titles[position - 1] = track.value(QLatin1String("title")).toString();
    }
    return titles;
}

QString yearOf(const QString& date)
{
    const QString year = date.left(YearLength);
    bool digits = year.size() == YearLength;
    for (const QChar c : year)
        digits = digits && c.isDigit();
    return digits ? year : QString();
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
    for (const QJsonValue& value : document.object().value(QLatin1String("releases")).toArray()) {
        const QJsonObject release = value.toObject();
        AlbumRelease album;
        album.source = QStringLiteral("MusicBrainz");
        album.ids.insert(AlbumRelease::MusicBrainzReleaseId, release.value(QLatin1String("id")).toString());
        album.artist = creditText(release.value(QLatin1String("artist-credit")).toArray());
        album.album = release.value(QLatin1String("title")).toString();
        album.year = yearOf(release.value(QLatin1String("date")).toString());
        album.country = release.value(QLatin1String("country")).toString();
        album.titles = titlesOf(mediumOf(release, discId), trackCount);
        releases << album;
    }
    return releases;
}
