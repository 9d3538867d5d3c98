#include "rip/Playlist.h"
#include "platform/TargetNameRule.h"
#include "platform/FileError.h"
#include <QFile>
#include <QSaveFile>

const QString Playlist::Ending = QStringLiteral("PlayList.M3u");

QString Playlist::FileName(const QString& folder, const QString& artist, const QString& album, const QString& ending)
{
    const QString base = TargetNameRule::WithSeparator(folder);
    if (!artist.isEmpty() && !album.isEmpty())
        return base + TargetNameRule::SafeComponent(artist + QStringLiteral(" - ") + album + QStringLiteral(" - ") + ending);
    return base + ending;
}

void Playlist::Load(const QString& path)
{
    m_lines.clear();
    QFile file(path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        throw FileError::CannotOpen(path, file.errorString());
    const QString text = QString::fromUtf8(file.readAll());
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

void Playlist::Save(const QString& path) const
{
    // Written aside and renamed: a failed save never leaves half a playlist.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError::CannotCreate(path, file.errorString());
    for (const QString& line : m_lines)
        file.write((line + QStringLiteral("\r\n")).toUtf8());
    if (!file.commit())
        throw FileError::CannotCreate(path, file.errorString());
}
