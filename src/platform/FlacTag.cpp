#include "platform/FlacTag.h"
#include "platform/CheckedTagStream.h"
#include "platform/FileError.h"
#include "platform/FlacMetadata.h"
#include "platform/ReplayGainText.h"
#include "platform/XiphFields.h"
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <taglib/flacfile.h>
#include <taglib/id3v2framefactory.h>

namespace {
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
    XiphFields::Put(tag, fields);
    // One PICTURE block, the front cover: the file's other pictures go with the old cover.
    file.removePictures();
    if (TagLib::FLAC::Picture* cover = XiphFields::FrontCover(fields))
        file.addPicture(cover);
    XiphFields::PutReplayGain(tag, fields.replayGain);
    const bool saved = file.save();
    if (stream.Failed())
        throw writeError(path, FileError::Reason(stream.Error()));
    if (!saved)
        throw writeError(path, QStringLiteral("L'écriture a échoué."));
}

// Read with libFLAC, as metaflac reads them: blocks TagLib refuses are passed over.
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
    XiphFields::Get([&file](const char* name) { return file.Values(QLatin1String(name)); }, fields);
    fields.frontCover = file.FrontCover();
    fields.frontCoverMime = file.FrontCoverMime();
    for (auto it = file.Comments().cbegin(); it != file.Comments().cend(); ++it)
        ReplayGainText::Read(it.key(), it.value().value(0), fields.replayGain);
    return true;
}
