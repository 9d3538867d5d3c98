#include "platform/FileError.h"
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/statvfs.h>

namespace {
bool meansFull(int systemError)
{
    return systemError == ENOSPC || systemError == EDQUOT;
}

bool meansRefused(int systemError)
{
    return systemError == EACCES || systemError == EPERM || systemError == EROFS;
}
} // namespace

FileError FileError::CannotCreate(const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("Impossible de créer le fichier \"%1\". %2")
                         .arg(QFileInfo(path).absoluteFilePath(), reason));
}

FileError FileError::CannotCreate(const QString& path, int systemError)
{
    return CannotCreate(path, Reason(systemError));
}

FileError FileError::CannotWrite(const QString& name, const QFileDevice& file, int systemError)
{
    const QString path = QFileInfo(name).absoluteFilePath();
    if (file.error() == QFileDevice::ResourceError)
        return Full(path);
    return cannotWrite(path, systemError, file.errorString());
}

FileError FileError::CannotWrite(const QString& name, int systemError)
{
    return cannotWrite(QFileInfo(name).absoluteFilePath(), systemError, Reason(systemError));
}

FileError FileError::cannotWrite(const QString& path, int systemError, const QString& reason)
{
    if (meansFull(systemError) || DiskFull(path))
        return Full(path);
    if (meansRefused(systemError))
        return FileError(QStringLiteral("Impossible d'écrire le fichier \"%1\" : %2").arg(path, Reason(systemError)));
    return FileError(QStringLiteral("Erreur d'écriture dans le fichier \"%1\". %2").arg(path, reason));
}

FileError FileError::Full(const QString& path)
{
    return FileError(QStringLiteral("Le disque est plein : le fichier \"%1\" n'a pas pu être écrit en entier.")
                         .arg(QFileInfo(path).absoluteFilePath()));
}

QString FileError::Reason(int systemError)
{
    if (meansFull(systemError))
        return QStringLiteral("Le disque est plein.");
    if (systemError == EROFS)
        return QStringLiteral("Le système de fichiers est en lecture seule.");
    if (meansRefused(systemError))
        return QStringLiteral("Accès refusé.");
    if (systemError == ENOENT)
        return QStringLiteral("Son dossier n'existe pas ou plus (a-t-il été supprimé ?).");
    if (systemError == EFBIG)
        return QStringLiteral("Le fichier dépasse la taille permise.");
    if (systemError == EIO)
        return QStringLiteral("Erreur d'entrée-sortie sur le disque.");
    if (systemError == ENAMETOOLONG)
        return QStringLiteral("Le nom du fichier est trop long.");
    return QString::fromLocal8Bit(std::strerror(systemError));
}

bool FileError::DiskFull(const QString& path)
{
    struct statvfs fs {};
    const QString folder = QFileInfo(path).absolutePath();
    return !folder.isEmpty() && ::statvfs(QFile::encodeName(folder).constData(), &fs) == 0 && fs.f_bavail == 0
        && fs.f_blocks > 0;
}

FileError FileError::CannotOpen(const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("Impossible d'ouvrir le fichier \"%1\". %2")
                         .arg(QFileInfo(path).absoluteFilePath(), reason));
}
