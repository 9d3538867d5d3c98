#include "platform/FlacTag.h"
#include "platform/FileError.h"
#include "platform/ReplayGainText.h"
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <taglib/flacfile.h>
#include <taglib/xiphcomment.h>

namespace {
struct Field {
    const char* name;
    QString TagFields::*text;
};
constexpr Field TextFields[] = {
    {"TITLE", &TagFields::title},   {"ARTIST", &TagFields::artist}, {"ALBUM", &TagFields::album},
    {"DATE", &TagFields::year},     {"GENRE", &TagFields::genre},   {"COMMENT", &TagFields::comment},
    {"ISRC", &TagFields::isrc},
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
    const QByteArray name = QFile::encodeName(path);
    TagLib::FLAC::File file(name.constData(), false);
    if (!file.isOpen() || !file.isValid())
        throw writeError(path, QStringLiteral("Le fichier n'a pas pu être ouvert."));
    if (file.readOnly())
        throw writeError(path, QStringLiteral("Le fichier est en lecture seule."));
    TagLib::Ogg::XiphComment& tag = *file.xiphComment(true);
    for (const Field& f : TextFields)
        put(tag, f.name, fields.*f.text);
    put(tag, "TRACKNUMBER", number(fields.track));
    put(tag, "TRACKTOTAL", number(fields.trackTotal));
    putReplayGain(tag, fields.replayGain);
    if (!file.save())
        throw writeError(path, FileError::DiskFull(path) ? FileError::Reason(ENOSPC)
                                                         : QStringLiteral("L'écriture a échoué."));
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
    fields.track = first(map, "TRACKNUMBER").toInt();
    fields.trackTotal = first(map, "TRACKTOTAL").toInt();
    readReplayGain(map, fields.replayGain);
    return true;
}
