#include "platform/FlacTag.h"
#include "platform/CheckedTagStream.h"
#include "platform/FileError.h"
#include "platform/ReplayGainText.h"
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
    {"MUSICBRAINZ_ARTISTID", &TagFields::MusicBrainzIds::artist},
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

void put(TagLib::Ogg::XiphComment& tag, const char* name, const QString& value)
{
    tag.removeFields(name);
    if (!value.isEmpty())
        tag.addField(name, TagLib::String(value.toStdString(), TagLib::String::UTF8));
}

QString number(int value)
{
    return value > 0 ? QString::number(value) : QString();
}

QString first(const TagLib::Ogg::FieldListMap& map, const char* name)
{
    const auto it = map.find(name);
    if (it == map.end() || it->second.isEmpty())
        return QString();
    return QString::fromStdString(it->second.front().to8Bit(true));
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

void readFrontCover(TagLib::FLAC::File& file, TagFields& fields)
{
    for (const TagLib::FLAC::Picture* picture : file.pictureList())
        if (picture->type() == TagLib::FLAC::Picture::FrontCover) {
            const TagLib::ByteVector bytes = picture->data();
            fields.frontCover = QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
            fields.frontCoverMime = QString::fromStdString(picture->mimeType().to8Bit(true));
            return;
        }
}

void putReplayGain(TagLib::Ogg::XiphComment& tag, const TagFields::ReplayGain& gain)
{
    for (const ReplayGainText::Entry& entry : ReplayGainText::Entries(gain))
        put(tag, entry.name, entry.text);
}

void readReplayGain(const TagLib::Ogg::FieldListMap& map, TagFields::ReplayGain& gain)
{
    for (const auto& [name, values] : map)
        if (!values.isEmpty())
            ReplayGainText::Read(QString::fromStdString(name.to8Bit(true)),
                                 QString::fromStdString(values.front().to8Bit(true)), gain);
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

bool FlacTag::Read(const QString& path, TagFields& fields)
{
    const QByteArray name = QFile::encodeName(path);
    TagLib::FLAC::File file(name.constData(), false);
    if (!file.isValid() || !file.hasXiphComment())
        return false;
    const TagLib::Ogg::FieldListMap map = file.xiphComment()->fieldListMap();
    for (const Field& f : TextFields)
        fields.*f.text = first(map, f.name);
    for (const IdField& f : MusicBrainzFields)
        fields.musicBrainz.*f.id = first(map, f.name);
    // The first spelling found of a number wins.
    for (const NumberField& f : NumberFields)
        fields.*f.number = 0;
    for (const NumberField& f : NumberFields)
        if (fields.*f.number == 0)
            fields.*f.number = first(map, f.name).toInt();
    fields.compilation = first(map, "COMPILATION") == QLatin1String("1");
    readFrontCover(file, fields);
    readReplayGain(map, fields.replayGain);
    return true;
}
