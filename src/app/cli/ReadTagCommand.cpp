#include "app/cli/ReadTagCommand.h"
#include "platform/CalvenorError.h"
#include "tags/TMP3Info.h"
#include "tags/TrackTags.h"
#include <utility>

void ReadTagCommand::Run(const QString& path, QTextStream& out)
{
    TMP3Info info;
    TagFields tag;
    QString why;
    if (!TrackTags::Read(info, path, tag, &why))
        throw CalvenorError(QStringLiteral("%1 : %2").arg(path, why));
    out << "title=" << tag.title << '\n'
        << "artist=" << tag.artist << '\n'
        << "album=" << tag.album << '\n'
        << "year=" << tag.year << '\n'
        << "comment=" << tag.comment << '\n'
        << "genre=" << tag.genre << '\n';
    if (tag.track > 0)
        out << "track=" << tag.track << '\n';
    // The album's identity, where the file carries it.
    const auto number = [](int n) { return n > 0 ? QString::number(n) : QString(); };
    QList<std::pair<const char*, QString>> identity = {
        {"tracktotal", number(tag.trackTotal)},
        {"albumartist", tag.albumArtist},
        {"disc", number(tag.discNumber)},
        {"disctotal", number(tag.discTotal)},
        {"compilation", tag.compilation ? QStringLiteral("1") : QString()},
        {"label", tag.label},
        {"catalognumber", tag.catalogNumber},
        {"isrc", tag.isrc},
        {"musicbrainz_albumid", tag.musicBrainz.release},
        {"musicbrainz_releasegroupid", tag.musicBrainz.releaseGroup},
        {"musicbrainz_albumartistid", tag.musicBrainz.albumArtist},
    };
    // One line a credited artist, as a Vorbis comment holds them.
    for (const QString& id : tag.musicBrainz.artists)
        identity.append({"musicbrainz_artistid", id});
    identity << QList<std::pair<const char*, QString>>{
        {"musicbrainz_releasetrackid", tag.musicBrainz.releaseTrack},
        {"musicbrainz_trackid", tag.musicBrainz.recording},
    };
    for (const auto& [name, value] : identity)
        if (!value.isEmpty())
            out << name << '=' << value << '\n';
}
