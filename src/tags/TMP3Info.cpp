#include "tags/TMP3Info.h"
#include "platform/FileError.h"
#include "tags/GenreTable.h"
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace {
const QString NoFileText = QStringLiteral("File doesn`t exist !");
const QString NoTagText = QStringLiteral("Wrong file format or no ID3 Tag !");
const QString SaveNoFileText = QStringLiteral("File doesn`t exist or is not valid !");
const QString CannotWriteText = QStringLiteral("Can\u00B4t write ID3 tag information !");
const QString UntaggedText = QStringLiteral("File is already untagged !");
const QString CannotOpenText = QStringLiteral("Could not open file !");

// Field positions in the trailer.
constexpr int TitleAt = 3;
constexpr int ArtistAt = 33;
constexpr int AlbumAt = 63;
constexpr int YearAt = 93;
constexpr int CommentAt = 97;
constexpr int TrackMarkAt = 125;
constexpr int TrackAt = 126;
constexpr int GenreAt = 127;

bool fileExists(const QString& name)
{
    return !name.isEmpty() && QFileInfo(name).isFile();
}

FileError fileError(const QString& what, const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("Impossible de %1 le fichier \"%2\". %3")
                         .arg(what, QFileInfo(path).absoluteFilePath(), reason));
}

// The last 128 bytes of the file; nothing when the file is too short to hold a tag.
QByteArray readTrailer(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError::CannotOpen(path, file.errorString());
    const qint64 size = file.size();
    if (size < TMP3Info::TagSize)
        return {};
    QByteArray trailer;
    if (file.seek(size - TMP3Info::TagSize))
        trailer = file.read(TMP3Info::TagSize);
    if (trailer.size() != TMP3Info::TagSize)
        throw fileError(QStringLiteral("lire"), path, file.errorString());
    return trailer;
}

// A field's text: its bytes up to the first zero byte, without trailing spaces.
QString fieldText(const QByteArray& trailer, int offset, int length)
{
    QByteArray field = trailer.mid(offset, length);
    const int zero = field.indexOf('\0');
    if (zero >= 0)
        field.truncate(zero);
    while (field.endsWith(' '))
        field.chop(1);
    return QString::fromLatin1(field);
}

void putField(QByteArray& trailer, int offset, int length, const QString& text)
{
    const QByteArray bytes = TMP3Info::ToTagBytes(text).left(length);
    trailer.replace(offset, bytes.size(), bytes);
}
} // namespace

QByteArray TMP3Info::ToTagBytes(const QString& text)
{
    QByteArray bytes;
    for (const uint c : text.toUcs4())
        bytes += c < 256 ? char(c) : '?';
    return bytes;
}

QString TMP3Info::FirstCharacters(const QString& text, int limit)
{
    int units = 0;
    for (int chars = 0; chars < limit && units < text.size(); ++chars) {
        const bool pair = text.at(units).isHighSurrogate() && units + 1 < text.size()
                          && text.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
    }
    return text.left(units);
}

const QStringList& TMP3Info::Genres() const
{
    return GenreTable::Names();
}

void TMP3Info::SetFilename(const QString& name)
{
    m_filename = name;
    ReadID3();
}

void TMP3Info::SetTitle(const QString& v)
{
    setText(m_title, v, TextFieldSize);
}

void TMP3Info::SetArtist(const QString& v)
{
    setText(m_artist, v, TextFieldSize);
}

void TMP3Info::SetAlbum(const QString& v)
{
    setText(m_album, v, TextFieldSize);
}

void TMP3Info::SetYear(const QString& v)
{
    setText(m_year, v, YearFieldSize);
}

void TMP3Info::SetComment(const QString& v)
{
    setText(m_comment, v, TextFieldSize);
}

void TMP3Info::SetGenreID(uint8_t v)
{
    storeGenre(v);
    raise(onChange);
}

void TMP3Info::SetTrack(uint8_t v)
{
    m_track = v;
    raise(onChange);
}

void TMP3Info::setText(QString& field, const QString& v, int limit)
{
    field = FirstCharacters(v, limit);
    raise(onChange);
}

void TMP3Info::storeGenre(uint8_t v)
{
    m_genreID = v > GenreTable::LastId ? GenreTable::Other : v;
    m_genre = GenreTable::NameOf(m_genreID);
}

void TMP3Info::ReadID3()
{
    m_saved = false;
    m_valid = true;
    if (!fileExists(m_filename)) {
        m_valid = false;
        report(NoFileText);
        return;
    }
    // A file shorter than a tag simply has none.
    const QByteArray trailer = readTrailer(m_filename);
    if (!trailer.startsWith("TAG")) {
        m_valid = false;
        clearFields();
        report(NoTagText);
        return;
    }
    readFields(trailer);
    raise(onChangeFile);
}

void TMP3Info::readFields(const QByteArray& trailer)
{
    m_title = fieldText(trailer, TitleAt, TextFieldSize);
    m_artist = fieldText(trailer, ArtistAt, TextFieldSize);
    m_album = fieldText(trailer, AlbumAt, TextFieldSize);
    m_year = fieldText(trailer, YearAt, YearFieldSize);
    m_comment = fieldText(trailer, CommentAt, TextFieldSize);
    // ID3v1.1: a zero byte before a non-zero last comment byte marks a track number.
    const bool hasTrack = trailer.at(TrackMarkAt) == '\0' && trailer.at(TrackAt) != '\0';
    m_track = hasTrack ? uint8_t(trailer.at(TrackAt)) : 0;
    storeGenre(uint8_t(trailer.at(GenreAt)));
}

void TMP3Info::clearFields()
{
    m_title.clear();
    m_artist.clear();
    m_album.clear();
    m_year.clear();
    m_comment.clear();
    m_track = 0;
    storeGenre(GenreTable::Other);
}

QByteArray TMP3Info::buildTrailer() const
{
    QByteArray trailer(TagSize, ' ');
    trailer.replace(0, 3, "TAG");
    putField(trailer, TitleAt, TextFieldSize, m_title);
    putField(trailer, ArtistAt, TextFieldSize, m_artist);
    putField(trailer, AlbumAt, TextFieldSize, m_album);
    putField(trailer, YearAt, YearFieldSize, m_year);
    putField(trailer, CommentAt, TextFieldSize, m_comment);
    if (m_track != 0 && ToTagBytes(m_comment).size() <= TrackCommentSize) {
        trailer[TrackMarkAt] = '\0';
        trailer[TrackAt] = char(m_track);
    }
    trailer[GenreAt] = char(m_genreID);
    return trailer;
}

void TMP3Info::Save()
{
    m_saved = true;
    if (!fileExists(m_filename)) {
        m_valid = false;
        m_saved = false;
        report(SaveNoFileText);
        return;
    }
    const QByteArray trailer = buildTrailer();
    if (!makeWritable()) {
        m_saved = false;
        report(CannotWriteText);
        return;
    }
    m_saved = writeTrailer(trailer);
    // The file holds a tag now: a second Save replaces it instead of adding another.
    if (m_saved)
        m_valid = true;
}

bool TMP3Info::makeWritable()
{
    const QFile::Permissions permissions = QFile::permissions(m_filename);
    if (permissions & QFileDevice::WriteOwner)
        return true;
    QFile::setPermissions(m_filename, permissions | QFileDevice::WriteOwner);
    return QFile::permissions(m_filename) & QFileDevice::WriteOwner;
}

bool TMP3Info::writeTrailer(const QByteArray& trailer)
{
    errno = 0;
    QFile file(m_filename);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return cannotWrite(file);
    const qint64 size = file.size();
    const qint64 at = m_valid ? size - TagSize : size;
    if (at < 0) {
        report(QStringLiteral("Le fichier est plus court qu'une étiquette ID3 : il a changé depuis sa lecture."));
        return false;
    }
    if (!file.seek(at))
        return cannotWrite(file);
    if (file.write(trailer) != TagSize || !file.flush())
        return cannotWrite(file);
    file.close();
    return file.error() == QFileDevice::NoError || cannotWrite(file);
}

// The reason of the failure in French; a full disk or a read-only file
// system is named as such.
bool TMP3Info::cannotWrite(const QFile& file)
{
    const int systemError = errno;
    if (systemError != 0)
        report(FileError::Reason(systemError));
    else if (FileError::DiskFull(m_filename))
        report(FileError::Reason(ENOSPC));
    else
        report(QStringLiteral("Erreur d'écriture : %1").arg(file.errorString()));
    return false;
}

void TMP3Info::RemoveID3()
{
    if (!fileExists(m_filename)) {
        report(NoFileText);
        return;
    }
    if (!m_valid) {
        report(UntaggedText);
        return;
    }
    if (!makeWritable()) {
        report(CannotWriteText);
        return;
    }
    QFile file(m_filename);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        report(CannotOpenText);
        return;
    }
    const qint64 size = file.size();
    if (size < TagSize)
        throw fileError(QStringLiteral("raccourcir"), m_filename,
                        QStringLiteral("Il est plus court qu'une étiquette ID3."));
    if (!file.resize(size - TagSize))
        throw fileError(QStringLiteral("raccourcir"), m_filename, file.errorString());
    m_valid = false;
}

void TMP3Info::report(const QString& text)
{
    m_error = text;
    raise(onError);
}

void TMP3Info::raise(const TNotifyEvent& event)
{
    if (event)
        event(this);
}
