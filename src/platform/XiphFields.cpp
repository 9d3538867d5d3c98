#include "platform/XiphFields.h"
#include "platform/ReplayGainText.h"
#include "platform/TagNumber.h"

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

QString number(int value)
{
    return value > 0 ? QString::number(value) : QString();
}

// "n/m" gives the count too; a count of its own, under either spelling, wins.
void readNumbers(const XiphFields::Values& values, const char* number, std::initializer_list<const char*> counts,
                 int& n, int& count)
{
    TagNumber::Read(values(number).value(0), n, count);
    for (const char* name : counts)
        if (const int given = values(name).value(0).toInt(); given > 0) {
            count = given;
            return;
        }
}
} // namespace

void XiphFields::PutValue(TagLib::Ogg::XiphComment& tag, const char* name, const QString& value)
{
    tag.removeFields(name);
    if (!value.isEmpty())
        tag.addField(name, TagLib::String(value.toStdString(), TagLib::String::UTF8));
}

QString XiphFields::First(const TagLib::Ogg::FieldListMap& map, const char* name)
{
    const auto it = map.find(name);
    if (it == map.end() || it->second.isEmpty())
        return QString();
    return QString::fromStdString(it->second.front().to8Bit(true));
}

void XiphFields::PutAll(TagLib::Ogg::XiphComment& tag, const char* name, const QStringList& values)
{
    tag.removeFields(name);
    for (const QString& value : values)
        tag.addField(name, TagLib::String(value.toStdString(), TagLib::String::UTF8), false);
}

void XiphFields::Put(TagLib::Ogg::XiphComment& tag, const TagFields& fields)
{
    for (const Field& f : TextFields)
        PutValue(tag, f.name, fields.*f.text);
    for (const IdField& f : MusicBrainzFields)
        PutValue(tag, f.name, fields.musicBrainz.*f.id);
    PutAll(tag, ArtistIdsName, fields.musicBrainz.artists);
    for (const NumberField& f : NumberFields)
        PutValue(tag, f.name, number(fields.*f.number));
    PutValue(tag, "COMPILATION", fields.compilation ? QStringLiteral("1") : QString());
}

void XiphFields::Get(const Values& values, TagFields& fields)
{
    for (const Field& f : TextFields)
        fields.*f.text = values(f.name).value(0);
    for (const IdField& f : MusicBrainzFields)
        fields.musicBrainz.*f.id = values(f.name).value(0);
    fields.musicBrainz.artists = values(ArtistIdsName);
    readNumbers(values, "TRACKNUMBER", {"TRACKTOTAL", "TOTALTRACKS"}, fields.track, fields.trackTotal);
    readNumbers(values, "DISCNUMBER", {"DISCTOTAL", "TOTALDISCS"}, fields.discNumber, fields.discTotal);
    fields.compilation = values("COMPILATION").value(0) == QLatin1String("1");
}

XiphFields::Values XiphFields::Of(const TagLib::Ogg::FieldListMap& map)
{
    return [&map](const char* name) {
        QStringList list;
        const auto it = map.find(name);
        if (it != map.end())
            for (const TagLib::String& value : it->second)
                list << QString::fromStdString(value.to8Bit(true));
        return list;
    };
}

void XiphFields::PutReplayGain(TagLib::Ogg::XiphComment& tag, const TagFields::ReplayGain& gain)
{
    for (const ReplayGainText::Entry& entry : ReplayGainText::Entries(gain))
        PutValue(tag, entry.name, entry.text);
}

void XiphFields::GetReplayGain(const TagLib::Ogg::FieldListMap& map, TagFields::ReplayGain& gain)
{
    for (const auto& [name, values] : map)
        if (!values.isEmpty())
            ReplayGainText::Read(QString::fromStdString(name.to8Bit(true)),
                                 QString::fromStdString(values.front().to8Bit(true)), gain);
}

TagLib::FLAC::Picture* XiphFields::FrontCover(const TagFields& fields)
{
    if (fields.frontCover.isEmpty())
        return nullptr;
    auto* picture = new TagLib::FLAC::Picture;
    picture->setType(TagLib::FLAC::Picture::FrontCover);
    picture->setMimeType(TagLib::String(fields.frontCoverMime.toStdString(), TagLib::String::UTF8));
    picture->setData(
        TagLib::ByteVector(fields.frontCover.constData(), static_cast<unsigned int>(fields.frontCover.size())));
    return picture;
}

void XiphFields::GetFrontCover(const TagLib::List<TagLib::FLAC::Picture*>& pictures, TagFields& fields)
{
    for (const TagLib::FLAC::Picture* picture : pictures)
        if (picture->type() == TagLib::FLAC::Picture::FrontCover) {
            const TagLib::ByteVector bytes = picture->data();
            fields.frontCover = QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
            fields.frontCoverMime = QString::fromStdString(picture->mimeType().to8Bit(true));
            return;
        }
}
