#include "rip/Playlist.h"
#include "platform/WholeFile.h"
#include "platform/TargetNameRule.h"
#include "platform/FileError.h"
#include "platform/FolderLock.h"
#include "platform/Windows1252.h"
#include <QFile>
#include <QFileInfo>

const QString Playlist::Ending = QStringLiteral("PlayList.M3u");

QString Playlist::FileName(const QString& folder, const QString& artist, const QString& album, const QString& ending,
                           const QString& discId)
{
    const QString separator = QStringLiteral(" - ");
    const QString end = (discId.isEmpty() ? QString() : discId + separator) + ending;
    const QString artistName = TargetNameRule::WithoutUnsafeChars(artist);
    const QString albumName = TargetNameRule::WithoutUnsafeChars(album);
    const QString base = TargetNameRule::WithSeparator(folder);
    if (artistName.isEmpty() || albumName.isEmpty())
        return base + TargetNameRule::SafeComponent(QString(), end);
    return base + TargetNameRule::SafeComponent(artistName + separator + albumName, separator + end);
}

void Playlist::Load(const QString& path)
{
    m_lines.clear();
    m_windows1252 = false;
    read(path);
}

// Adds the file's lines to the list.
void Playlist::read(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        throw FileError::CannotOpen(path, file.errorString());
    const QByteArray bytes = file.readAll();
    const QString text = Windows1252::DecodeUtf8OrWindows1252(bytes, &m_windows1252);
    for (QString line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            Add(line);
    }
}

void Playlist::Add(const QString& line)
{
    if (!m_lines.contains(line, Qt::CaseInsensitive))
        m_lines << line;
}

void Playlist::Drop(const QString& line)
{
    m_lines.removeAll(line);
    m_dropped << line;
}

void Playlist::Save(const QString& path)
{
    const FolderLock lock(QFileInfo(path).absolutePath());
    const QStringList mine = m_lines;
    m_lines.clear();
    read(path);
    for (const QString& line : m_dropped)
        m_lines.removeIf([&line](const QString& held) { return held.compare(line, Qt::CaseInsensitive) == 0; });
    for (const QString& line : mine)
        Add(line);
    write(path);
}

void Playlist::write(const QString& path) const
{
    QString text;
    for (const QString& line : m_lines)
        text += line + QStringLiteral("\r\n");
    // A name the file's own encoding cannot hold turns the file to UTF-8
    // rather than lose a letter.
    QByteArray bytes;
    if (!m_windows1252 || !Windows1252::Encode(text, bytes))
        bytes = text.toUtf8();
    WholeFile::Write(path, bytes);
}
