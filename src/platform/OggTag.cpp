#include "platform/OggTag.h"
#include "platform/CheckedTagStream.h"
#include "platform/FileError.h"
#include "platform/XiphFields.h"
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <memory>
#include <taglib/opusfile.h>
#include <taglib/tfilestream.h>
#include <taglib/vorbisfile.h>

namespace {
// ReplayGain 2.0 aims at -18 LUFS, R128 at -23 LUFS.
constexpr double ReferenceDifferenceDb = 5.0;
constexpr const char* TrackR128 = "R128_TRACK_GAIN";
constexpr const char* AlbumR128 = "R128_ALBUM_GAIN";

// The stream's own header tells its kind: a rip tags its file under a
// temporary name.
std::unique_ptr<TagLib::Ogg::File> open(TagLib::IOStream* stream)
{
    auto opus = std::make_unique<TagLib::Ogg::Opus::File>(stream, false);
    if (opus->isValid())
        return opus;
    opus.reset();
    stream->seek(0);
    return std::make_unique<TagLib::Ogg::Vorbis::File>(stream, false);
}

bool isOpus(const TagLib::Ogg::File& file)
{
    return dynamic_cast<const TagLib::Ogg::Opus::File*>(&file) != nullptr;
}

void putR128(TagLib::Ogg::XiphComment& tag, const TagFields::ReplayGain& gain)
{
    XiphFields::PutValue(tag, TrackR128, gain.measured ? QString::number(OggTag::R128Of(gain.trackGainDb)) : QString());
    XiphFields::PutValue(tag, AlbumR128,
                         gain.albumMeasured ? QString::number(OggTag::R128Of(gain.albumGainDb)) : QString());
}

void getR128(const TagLib::Ogg::FieldListMap& map, TagFields::ReplayGain& gain)
{
    bool track = false, album = false;
    const int trackR128 = XiphFields::First(map, TrackR128).toInt(&track);
    const int albumR128 = XiphFields::First(map, AlbumR128).toInt(&album);
    gain.measured = track;
    gain.trackGainDb = track ? OggTag::ReplayGainOf(trackR128) : 0;
    gain.albumMeasured = album;
    gain.albumGainDb = album ? OggTag::ReplayGainOf(albumR128) : 0;
}

FileError writeError(const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("Impossible d'écrire les tags dans le fichier \"%1\". %2")
                         .arg(QFileInfo(path).absoluteFilePath(), reason));
}
} // namespace

bool OggTag::IsOpus(const QString& path)
{
    return path.endsWith(QLatin1String(".opus"), Qt::CaseInsensitive);
}

bool OggTag::IsOgg(const QString& path)
{
    return IsOpus(path) || path.endsWith(QLatin1String(".ogg"), Qt::CaseInsensitive);
}

int OggTag::R128Of(double replayGainDb)
{
    const double q78 = std::round((replayGainDb - ReferenceDifferenceDb) * 256.0);
    return int(std::clamp(q78, -32768.0, 32767.0));
}

double OggTag::ReplayGainOf(int r128)
{
    return r128 / 256.0 + ReferenceDifferenceDb;
}

void OggTag::Write(const QString& path, const TagFields& fields)
{
    CheckedTagStream stream(path);
    if (!stream.isOpen())
        throw writeError(path, FileError::Reason(stream.Error()));
    const std::unique_ptr<TagLib::Ogg::File> file = open(&stream);
    auto* tag = dynamic_cast<TagLib::Ogg::XiphComment*>(file->tag());
    if (!file->isValid() || !tag)
        throw writeError(path, QStringLiteral("Le fichier n'a pas pu être ouvert."));
    XiphFields::Put(*tag, fields);
    tag->removeAllPictures();
    if (TagLib::FLAC::Picture* cover = XiphFields::FrontCover(fields))
        tag->addPicture(cover);
    if (isOpus(*file))
        putR128(*tag, fields.replayGain);
    else
        XiphFields::PutReplayGain(*tag, fields.replayGain);
    const bool saved = file->save();
    if (stream.Failed())
        throw writeError(path, FileError::Reason(stream.Error()));
    if (!saved)
        throw writeError(path, QStringLiteral("L'écriture a échoué."));
}

bool OggTag::Read(const QString& path, TagFields& fields)
{
    const QByteArray name = QFile::encodeName(path);
    TagLib::FileStream stream(name.constData(), true);
    const std::unique_ptr<TagLib::Ogg::File> file = open(&stream);
    auto* tag = dynamic_cast<TagLib::Ogg::XiphComment*>(file->tag());
    if (!file->isValid() || !tag)
        return false;
    const TagLib::Ogg::FieldListMap map = tag->fieldListMap();
    XiphFields::Get(XiphFields::Of(map), fields);
    XiphFields::GetFrontCover(tag->pictureList(), fields);
    if (isOpus(*file))
        getR128(map, fields.replayGain);
    else
        XiphFields::GetReplayGain(map, fields.replayGain);
    return true;
}
