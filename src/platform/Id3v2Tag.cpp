#include "platform/Id3v2Tag.h"
#include "platform/CheckedTagStream.h"
#include "platform/FileError.h"
#include "platform/ReplayGainText.h"
#include "platform/TagNumber.h"
#include <cerrno>
#include <QFile>
#include <QFileInfo>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/uniquefileidentifierframe.h>

namespace {
TagLib::String toTagLib(const QString& text)
{
    return TagLib::String(text.toStdString(), TagLib::String::UTF8);
}

QString fromTagLib(const TagLib::String& text)
{
    return QString::fromStdString(text.to8Bit(true));
}

// TagLib's own setters write Latin-1 frames for Latin-1 text: each frame is
// built here so that all of them are UTF-8.
void putText(TagLib::ID3v2::Tag& tag, const char* id, const QString& value)
{
    tag.removeFrames(id);
    if (value.isEmpty())
        return;
    auto* frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::UTF8);
    frame->setText(toTagLib(value));
    tag.addFrame(frame);
}

void putComment(TagLib::ID3v2::Tag& tag, const QString& value)
{
    tag.removeFrames("COMM");
    if (value.isEmpty())
        return;
    auto* frame = new TagLib::ID3v2::CommentsFrame(TagLib::String::UTF8);
    frame->setLanguage("fra");
    frame->setText(toTagLib(value));
    tag.addFrame(frame);
}

TagLib::ByteVector toBytes(const QByteArray& bytes)
{
    return TagLib::ByteVector(bytes.constData(), static_cast<unsigned int>(bytes.size()));
}

// One APIC frame, the front cover (picture type 3), as players look for it.
void putFrontCover(TagLib::ID3v2::Tag& tag, const QByteArray& image, const QString& mime)
{
    tag.removeFrames("APIC");
    if (image.isEmpty())
        return;
    auto* frame = new TagLib::ID3v2::AttachedPictureFrame;
    frame->setTextEncoding(TagLib::String::UTF8);
    frame->setMimeType(toTagLib(mime));
    frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    frame->setPicture(toBytes(image));
    tag.addFrame(frame);
}

void readFrontCover(const TagLib::ID3v2::Tag& tag, TagFields& fields)
{
    for (TagLib::ID3v2::Frame* frame : tag.frameListMap()["APIC"]) {
        const auto* picture = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame*>(frame);
        if (picture && picture->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover) {
            const TagLib::ByteVector bytes = picture->picture();
            fields.frontCover = QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
            fields.frontCoverMime = fromTagLib(picture->mimeType());
            return;
        }
    }
}

// The user-defined texts of the identifiers, as MusicBrainz's tagger names them.
struct MusicBrainzText {
    const char* description;
    QString TagFields::MusicBrainzIds::*id;
};
constexpr MusicBrainzText MusicBrainzTexts[] = {
    {"MusicBrainz Album Id", &TagFields::MusicBrainzIds::release},
    {"MusicBrainz Release Group Id", &TagFields::MusicBrainzIds::releaseGroup},
    {"MusicBrainz Album Artist Id", &TagFields::MusicBrainzIds::albumArtist},
    {"MusicBrainz Release Track Id", &TagFields::MusicBrainzIds::releaseTrack},
};
const char* const MusicBrainzOwner = "http://musicbrainz.org";
// One frame of every credited artist's identifier, as the tagger writes it.
const char* const ArtistIdsDescription = "MusicBrainz Artist Id";

// Any earlier frame of the description goes, whatever its case.
void putUserTexts(TagLib::ID3v2::Tag& tag, const char* description, const QStringList& values)
{
    const TagLib::String name(description);
    // A copy: removing a frame changes the tag's own list.
    const TagLib::ID3v2::FrameList frames = tag.frameList("TXXX");
    for (TagLib::ID3v2::Frame* frame : frames) {
        const auto* user = dynamic_cast<TagLib::ID3v2::UserTextIdentificationFrame*>(frame);
        if (user && user->description().upper() == name.upper())
            tag.removeFrame(frame);
    }
    TagLib::StringList texts;
    for (const QString& value : values)
        texts.append(toTagLib(value));
    if (!texts.isEmpty())
        tag.addFrame(new TagLib::ID3v2::UserTextIdentificationFrame(name, texts, TagLib::String::UTF8));
}

void putUserText(TagLib::ID3v2::Tag& tag, const char* description, const QString& value)
{
    putUserTexts(tag, description, value.isEmpty() ? QStringList() : QStringList{value});
}

// The values after the description.
QStringList userTexts(TagLib::ID3v2::Tag& tag, const char* description)
{
    QStringList values;
    if (const auto* frame = TagLib::ID3v2::UserTextIdentificationFrame::find(&tag, description))
        for (unsigned int k = 1; k < frame->fieldList().size(); ++k)
            values << fromTagLib(frame->fieldList()[k]);
    return values;
}

QString userText(TagLib::ID3v2::Tag& tag, const char* description)
{
    return userTexts(tag, description).value(0);
}

void putRecording(TagLib::ID3v2::Tag& tag, const QString& id)
{
    if (auto* old = TagLib::ID3v2::UniqueFileIdentifierFrame::findByOwner(&tag, MusicBrainzOwner))
        tag.removeFrame(old);
    if (!id.isEmpty())
        tag.addFrame(new TagLib::ID3v2::UniqueFileIdentifierFrame(MusicBrainzOwner, id.toLatin1().constData()));
}

QString recording(const TagLib::ID3v2::Tag& tag)
{
    const auto* frame = TagLib::ID3v2::UniqueFileIdentifierFrame::findByOwner(&tag, MusicBrainzOwner);
    if (!frame)
        return QString();
    const TagLib::ByteVector id = frame->identifier();
    return QString::fromLatin1(id.data(), static_cast<qsizetype>(id.size()));
}

// "n/m", "n" when the count is unknown, empty when n is.
QString numberOf(int n, int count)
{
    if (n <= 0)
        return QString();
    return count > 0 ? QStringLiteral("%1/%2").arg(n).arg(count) : QString::number(n);
}

QString frameText(const TagLib::ID3v2::Tag& tag, const char* id)
{
    const auto frames = tag.frameListMap()[id];
    return frames.isEmpty() ? QString() : fromTagLib(frames.front()->toString());
}

// The album's identity, disc number and identifiers, as music libraries file them.
void putIdentity(TagLib::ID3v2::Tag& tag, const TagFields& fields)
{
    putText(tag, "TPE2", fields.albumArtist);
    putText(tag, "TPOS", numberOf(fields.discNumber, fields.discTotal));
    putText(tag, "TSRC", fields.isrc);
    putText(tag, "TCMP", fields.compilation ? QStringLiteral("1") : QString());
    putText(tag, "TPUB", fields.label);
    putUserText(tag, "CATALOGNUMBER", fields.catalogNumber);
    for (const MusicBrainzText& m : MusicBrainzTexts)
        putUserText(tag, m.description, fields.musicBrainz.*m.id);
    putUserTexts(tag, ArtistIdsDescription, fields.musicBrainz.artists);
    putRecording(tag, fields.musicBrainz.recording);
}

void readIdentity(TagLib::ID3v2::Tag& tag, TagFields& fields)
{
    fields.albumArtist = frameText(tag, "TPE2");
    TagNumber::Read(frameText(tag, "TPOS"), fields.discNumber, fields.discTotal);
    TagNumber::Read(frameText(tag, "TRCK"), fields.track, fields.trackTotal);
    fields.isrc = frameText(tag, "TSRC");
    fields.compilation = frameText(tag, "TCMP") == QLatin1String("1");
    fields.label = frameText(tag, "TPUB");
    fields.catalogNumber = userText(tag, "CATALOGNUMBER");
    for (const MusicBrainzText& m : MusicBrainzTexts)
        fields.musicBrainz.*m.id = userText(tag, m.description);
    fields.musicBrainz.artists = userTexts(tag, ArtistIdsDescription);
    fields.musicBrainz.recording = recording(tag);
}

void putReplayGain(TagLib::ID3v2::Tag& tag, const TagFields::ReplayGain& gain)
{
    for (const ReplayGainText::Entry& entry : ReplayGainText::Entries(gain))
        putUserText(tag, entry.name, entry.text);
}

void readReplayGain(const TagLib::ID3v2::Tag& tag, TagFields::ReplayGain& gain)
{
    for (const TagLib::ID3v2::Frame* frame : tag.frameList("TXXX"))
        if (const auto* user = dynamic_cast<const TagLib::ID3v2::UserTextIdentificationFrame*>(frame))
            if (user->fieldList().size() > 1)
                ReplayGainText::Read(fromTagLib(user->description()), fromTagLib(user->fieldList()[1]), gain);
}

FileError writeError(const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("Impossible d'écrire le tag ID3v2 dans le fichier \"%1\". %2")
                         .arg(QFileInfo(path).absoluteFilePath(), reason));
}
} // namespace

void Id3v2Tag::Write(const QString& path, const TagFields& fields)
{
    CheckedTagStream stream(path);
    if (!stream.isOpen())
        throw writeError(path, FileError::Reason(stream.Error()));
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (!file.isValid())
        throw writeError(path, QStringLiteral("Le fichier n'a pas pu être ouvert."));
    TagLib::ID3v2::Tag& tag = *file.ID3v2Tag(true);
    putText(tag, "TIT2", fields.title);
    putText(tag, "TPE1", fields.artist);
    putText(tag, "TALB", fields.album);
    putText(tag, "TDRC", fields.year);
    putText(tag, "TCON", fields.genre);
    putText(tag, "TRCK", numberOf(fields.track, fields.trackTotal));
    putComment(tag, fields.comment);
    putFrontCover(tag, fields.frontCover, fields.frontCoverMime);
    putIdentity(tag, fields);
    putReplayGain(tag, fields.replayGain);
    const bool saved =
        file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v4, TagLib::File::DoNotDuplicate);
    if (stream.Failed())
        throw writeError(path, FileError::Reason(stream.Error()));
    if (!saved)
        throw writeError(path, QStringLiteral("L'écriture a échoué."));
}

bool Id3v2Tag::Read(const QString& path, TagFields& fields)
{
    const QByteArray name = QFile::encodeName(path);
    TagLib::MPEG::File file(name.constData(), false);
    if (!file.isValid() || !file.hasID3v2Tag())
        return false;
    TagLib::ID3v2::Tag& tag = *file.ID3v2Tag();
    fields.title = fromTagLib(tag.title());
    fields.artist = fromTagLib(tag.artist());
    fields.album = fromTagLib(tag.album());
    fields.comment = fromTagLib(tag.comment());
    fields.genre = fromTagLib(tag.genre());
    fields.year = frameText(tag, "TDRC");
    readIdentity(tag, fields);
    readFrontCover(tag, fields);
    readReplayGain(tag, fields.replayGain);
    return true;
}
