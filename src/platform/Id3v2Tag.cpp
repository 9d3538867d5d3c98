#include "platform/Id3v2Tag.h"
#include "platform/FileError.h"
#include "platform/ReplayGainText.h"
#include <cerrno>
#include <QFile>
#include <QFileInfo>
#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

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

// The TXXX frames of ReplayGain: any earlier one goes, whatever the case of its description.
void putReplayGain(TagLib::ID3v2::Tag& tag, const TagFields::ReplayGain& gain)
{
    for (const ReplayGainText::Entry& entry : ReplayGainText::Entries(gain)) {
        const TagLib::String name(entry.name);
        // A copy: removing a frame changes the tag's own list.
        const TagLib::ID3v2::FrameList frames = tag.frameList("TXXX");
        for (TagLib::ID3v2::Frame* frame : frames) {
            const auto* user = dynamic_cast<TagLib::ID3v2::UserTextIdentificationFrame*>(frame);
            if (user && user->description().upper() == name)
                tag.removeFrame(frame);
        }
        if (!entry.text.isEmpty())
            tag.addFrame(new TagLib::ID3v2::UserTextIdentificationFrame(name, toTagLib(entry.text),
                                                                         TagLib::String::UTF8));
    }
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
    const QByteArray name = QFile::encodeName(path);
    TagLib::MPEG::File file(name.constData(), false);
    if (!file.isOpen() || !file.isValid())
        throw writeError(path, QStringLiteral("Le fichier n'a pas pu être ouvert."));
    if (file.readOnly())
        throw writeError(path, QStringLiteral("Le fichier est en lecture seule."));
    TagLib::ID3v2::Tag& tag = *file.ID3v2Tag(true);
    putText(tag, "TIT2", fields.title);
    putText(tag, "TPE1", fields.artist);
    putText(tag, "TALB", fields.album);
    putText(tag, "TDRC", fields.year);
    putText(tag, "TCON", fields.genre);
    putText(tag, "TRCK", fields.track > 0 ? QString::number(fields.track) : QString());
    putComment(tag, fields.comment);
    putReplayGain(tag, fields.replayGain);
    if (!file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v4,
                   TagLib::File::DoNotDuplicate))
        throw writeError(path, FileError::DiskFull(path) ? FileError::Reason(ENOSPC)
                                                         : QStringLiteral("L'écriture a échoué."));
}

bool Id3v2Tag::Read(const QString& path, TagFields& fields)
{
    const QByteArray name = QFile::encodeName(path);
    TagLib::MPEG::File file(name.constData(), false);
    if (!file.isValid() || !file.hasID3v2Tag())
        return false;
    const TagLib::ID3v2::Tag& tag = *file.ID3v2Tag();
    fields.title = fromTagLib(tag.title());
    fields.artist = fromTagLib(tag.artist());
    fields.album = fromTagLib(tag.album());
    fields.comment = fromTagLib(tag.comment());
    fields.genre = fromTagLib(tag.genre());
    fields.track = static_cast<int>(tag.track());
    const auto years = tag.frameListMap()["TDRC"];
    fields.year = years.isEmpty() ? QString() : fromTagLib(years.front()->toString());
    readReplayGain(tag, fields.replayGain);
    return true;
}
