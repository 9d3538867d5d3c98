#include "platform/FlacTag.h"
#include "platform/CheckedTagStream.h"
#include "platform/FileError.h"
#include "platform/FlacMetadata.h"
#include "platform/ReplayGainText.h"
#include "platform/TagNumber.h"
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/xiphcomment.h>

namespace {
struct Field {
    const char* name;
    QString TagFields::*text;
};
constexpr Field TextFields[] = {
    {"TITLE", &TagFields::title},   {"ARTIST", &TagFields::artist}, {"ALBUM", &TagFields::album},
    {"DATE", &TagFields::year},     {"GENRE", &TagFields::genre},   {"COMMENT", &TagFields::comment},
    {"ISRC", &TagFields::isrc},     {"ALBUMARTIST", &TagFields::albumArtist},
    {"LABEL", &TagFields::label},   {"CATALOGNUMBER", &TagFields::catalogNumber},
};
struct IdField {
    const char* name;
    QString TagFields::MusicBrainzIds::*id;
};
// As MusicBrainz's tagger names them; its "track" is the recording.
constexpr IdField MusicBrainzFields[] = {
    {"MUSICBRAINZ_ALBUMID", &TagFields::MusicBrainzIds::release},
    {"MUSICBRAINZ_RELEASEGROUPID", &TagFields::MusicBrainzIds::releaseGroup},
    {"MUSICBRAINZ_ALBUMARTISTID", &TagFields::MusicBrainzIds::albumArtist},
    {"MUSICBRAINZ_RELEASETRACKID", &TagFields::MusicBrainzIds::releaseTrack},
    {"MUSICBRAINZ_TRACKID", &TagFields::MusicBrainzIds::recording},
};
struct NumberField {
    const char* name;
    int TagFields::*number;
};
// TOTALDISCS beside DISCTOTAL: both spellings are read by players.
constexpr NumberField NumberFields[] = {
    {"TRACKNUMBER", &TagFields::track},     {"TRACKTOTAL", &TagFields::trackTotal},
    {"DISCNUMBER", &TagFields::discNumber}, {"DISCTOTAL", &TagFields::discTotal},
    {"TOTALDISCS", &TagFields::discTotal},
};

// The MusicBrainz tagger's name for each credited artist's identifier, one field a value.
const char* const ArtistIdsName = "MUSICBRAINZ_ARTISTID";

void putAll(TagLib::Ogg::XiphComment& tag, const char* name, const QStringList& values)
{
    tag.removeFields(name);
    for (const QString& value : values)
        tag.addField(name, TagLib::String(value.toStdString(), TagLib::String::UTF8), false);
}

void put(TagLib::Ogg::XiphComment& tag, const char* name, const QString& value)
{
    putAll(tag, name, value.isEmpty() ? QStringList() : QStringList{value});
}

QString number(int value)
{
    return value > 0 ? QString::number(value) : QString();
}

// "n/m" gives the count too; a count of its own, under either spelling, wins.
void readNumbers(const FlacMetadata& file, const char* number, std::initializer_list<const char*> counts,
                 int& n, int& count)
{
    TagNumber::Read(file.First(QLatin1String(number)), n, count);
    for (const char* name : counts)
        if (const int given = file.First(QLatin1String(name)).toInt(); given > 0) {
            count = given;
            return;
        }
}

// One PICTURE metadata block, the front cover (picture type 3); the file's
// other pictures go with the old cover.
void putFrontCover(TagLib::FLAC::File& file, const QByteArray& image, const QString& mime)
{
    file.removePictures();
    if (image.isEmpty())
        return;
    auto* picture = new TagLib::FLAC::Picture;
    picture->setType(TagLib::FLAC::Picture::FrontCover);
    picture->setMimeType(TagLib::String(mime.toStdString(), TagLib::String::UTF8));
    picture->setData(TagLib::ByteVector(image.constData(), static_cast<unsigned int>(image.size())));
    file.addPicture(picture);
}

void putReplayGain(TagLib::Ogg::XiphComment& tag, const TagFields::ReplayGain& gain)
{
    for (const ReplayGainText::Entry& entry : ReplayGainText::Entries(gain))
        put(tag, entry.name, entry.text);
}

void readReplayGain(const FlacMetadata& file, TagFields::ReplayGain& gain)
{
    for (auto it = file.Comments().cbegin(); it != file.Comments().cend(); ++it)
        ReplayGainText::Read(it.key(), it.value().value(0), gain);
}

FileError writeError(const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("Impossible d'écrire les tags FLAC dans le fichier \"%1\". %2")
                         .arg(QFileInfo(path).absoluteFilePath(), reason));
}
} // namespace

bool FlacTag::IsFlac(const QString& path)
{
    return path.endsWith(QLatin1String(".flac"), Qt::CaseInsensitive);
}

void FlacTag::Write(const QString& path, const TagFields& fields)
{
    CheckedTagStream stream(path);
    if (!stream.isOpen())
        throw writeError(path, FileError::Reason(stream.Error()));
    TagLib::FLAC::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (!file.isValid())
        throw writeError(path, QStringLiteral("Le fichier n'a pas pu être ouvert."));
    TagLib::Ogg::XiphComment& tag = *file.xiphComment(true);
    for (const Field& f : TextFields)
        put(tag, f.name, fields.*f.text);
    for (const IdField& f : MusicBrainzFields)
        put(tag, f.name, fields.musicBrainz.*f.id);
    putAll(tag, ArtistIdsName, fields.musicBrainz.artists);
    for (const NumberField& f : NumberFields)
        put(tag, f.name, number(fields.*f.number));
    put(tag, "COMPILATION", fields.compilation ? QStringLiteral("1") : QString());
    putFrontCover(file, fields.frontCover, fields.frontCoverMime);
    putReplayGain(tag, fields.replayGain);
    const bool saved = file.save();
    if (stream.Failed())
        throw writeError(path, FileError::Reason(stream.Error()));
    if (!saved)
        throw writeError(path, QStringLiteral("L'écriture a échoué."));
}

bool FlacTag::Read(const QString& path, TagFields& fields, QString* why)
{
    const FlacMetadata file(path);
    if (!file.Failure().isEmpty() || !file.HasComment()) {
        if (why)
            *why = file.Failure().isEmpty() ? QStringLiteral("le fichier ne porte aucun tag (pas de commentaire "
                                                             "Vorbis).")
                                            : file.Failure();
        return false;
    }
    for (const Field& f : TextFields)
        fields.*f.text = file.First(QLatin1String(f.name));
    for (const IdField& f : MusicBrainzFields)
        fields.musicBrainz.*f.id = file.First(QLatin1String(f.name));
    fields.musicBrainz.artists = file.Values(QLatin1String(ArtistIdsName));
    readNumbers(file, "TRACKNUMBER", {"TRACKTOTAL", "TOTALTRACKS"}, fields.track, fields.trackTotal);
    readNumbers(file, "DISCNUMBER", {"DISCTOTAL", "TOTALDISCS"}, fields.discNumber, fields.discTotal);
    fields.compilation = file.First(QStringLiteral("COMPILATION")) == QLatin1String("1");
    fields.frontCover = file.FrontCover();
    fields.frontCoverMime = file.FrontCoverMime();
    readReplayGain(file, fields.replayGain);
    return true;
}
