#include "rip/RunListsPlace.h"
#include "platform/PathText.h"
#include "platform/TargetNameRule.h"
#include "rip/Playlist.h"
#include "encode/FileFormat.h"
#include <QDir>
#include <QFileInfo>

namespace {
bool isWithin(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(TargetNameRule::WithSeparator(folder));
}
} // namespace

RunListsPlace::RunListsPlace(const QString& destination, const QStringList& files)
    : m_folder(commonFolder(destination, files))
{
    for (const QString& file : files)
        if (anotherFormatBeside(file))
            m_format = QFileInfo(file).suffix().toUpper();
}

QString RunListsPlace::commonFolder(const QString& destination, const QStringList& files)
{
    const QString top = QDir::cleanPath(QFileInfo(destination).absoluteFilePath());
    if (files.isEmpty())
        return destination;
    QString common = QFileInfo(files.first()).absolutePath();
    for (const QString& file : files)
        while (!isWithin(QFileInfo(file).absolutePath(), common) && isWithin(common, top) && common != top)
            common = QFileInfo(common).path();
    return isWithin(common, top) ? common : destination;
}

bool RunListsPlace::anotherFormatBeside(const QString& file)
{
    const QString own = '.' + QFileInfo(file).suffix();
    for (const QString& extension :
         {ExtensionOf(FileFormat::Flac), ExtensionOf(FileFormat::Mp3), ExtensionOf(FileFormat::Opus),
          ExtensionOf(FileFormat::Vorbis), ExtensionOf(FileFormat::Wav)})
        if (extension.compare(own, Qt::CaseInsensitive) != 0 && QFileInfo::exists(PathText::WithExtension(file, extension)))
            return true;
    return false;
}

QString RunListsPlace::PlaylistEnding() const
{
    if (m_format.isEmpty())
        return Playlist::Ending;
    return PathText::WithExtension(Playlist::Ending, QStringLiteral(" (%1)").arg(m_format))
        + '.' + QFileInfo(Playlist::Ending).suffix();
}

QString RunListsPlace::RelativeName(const QString& path) const
{
    return QDir(m_folder).relativeFilePath(path);
}
