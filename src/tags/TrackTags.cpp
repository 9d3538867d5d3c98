#include "tags/TrackTags.h"
#include "platform/CalvenorError.h"
#include "platform/FlacTag.h"
#include "platform/Id3v2Tag.h"
#include "platform/OggTag.h"
#include "tags/GenreTable.h"
#include "tags/TMP3Info.h"
#include <QFileInfo>

namespace {
constexpr int MaxTrackByte = 255;
}

bool TrackTags::IsMp3(const QString& path)
{
    return path.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive);
}

void TrackTags::Write(TMP3Info& id3v1, const QString& path, const TagFields& fields)
{
    write(id3v1, path, path, fields);
}

void TrackTags::WriteAs(TMP3Info& id3v1, const QString& data, const QString& name, const TagFields& fields)
{
    try {
        write(id3v1, data, name, fields);
    } catch (const CalvenorError& e) {
        // The writers name the path they were given; the user knows the file by its name.
        throw CalvenorError(
            QString(e.message()).replace(QFileInfo(data).absoluteFilePath(), QFileInfo(name).absoluteFilePath()));
    }
}

void TrackTags::write(TMP3Info& id3v1, const QString& data, const QString& name, const TagFields& fields)
{
    // A genre of the table is written under the table's own spelling.
    TagFields full = fields;
    const uint8_t genre = GenreTable::IdOfName(fields.genre);
    if (GenreTable::NameOf(genre).compare(fields.genre, Qt::CaseInsensitive) == 0)
        full.genre = GenreTable::NameOf(genre);
    // A FLAC file keeps its tags in its own header and takes no trailer.
    if (FlacTag::IsFlac(name)) {
        FlacTag::Write(data, full);
        return;
    }
    if (OggTag::IsOgg(name)) {
        OggTag::Write(data, full);
        return;
    }
    // The ID3v2 tag goes first: it moves the audio, the trailer stays last.
    if (IsMp3(name))
        Id3v2Tag::Write(data, full);
    id3v1.SetFilename(data);
    id3v1.SetTitle(fields.title);
    id3v1.SetArtist(fields.artist);
    id3v1.SetAlbum(fields.album);
    id3v1.SetYear(fields.year);
    id3v1.SetGenreID(genre);
    id3v1.SetComment(fields.comment);
    id3v1.SetTrack(fields.track > 0 && fields.track <= MaxTrackByte ? uint8_t(fields.track) : 0);
    id3v1.Save();
    if (!id3v1.Saved())
        throw CalvenorError(
            QStringLiteral("Impossible d'écrire le tag ID3 dans le fichier \"%1\". %2").arg(data, id3v1.Error()));
}

bool TrackTags::Read(TMP3Info& id3v1, const QString& path, TagFields& fields, QString* why)
{
    if (FlacTag::IsFlac(path))
        return FlacTag::Read(path, fields, why);
    if (OggTag::IsOgg(path))
        return OggTag::Read(path, fields);
    id3v1.SetFilename(path);
    if (IsMp3(path) && Id3v2Tag::Read(path, fields))
        return true;
    if (!id3v1.Valid()) {
        // The trailer's reader keeps its own quoted texts.
        if (why)
            *why = id3v1.Error();
        return false;
    }
    fields.title = id3v1.Title();
    fields.artist = id3v1.Artist();
    fields.album = id3v1.Album();
    fields.year = id3v1.Year();
    fields.comment = id3v1.Comment();
    fields.genre = id3v1.Genre();
    fields.track = id3v1.Track();
    return true;
}
