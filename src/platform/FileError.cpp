#include "platform/FileError.h"
#include <QFileInfo>

FileError FileError::CannotCreate(const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("Impossible de créer le fichier \"%1\". %2")
                         .arg(QFileInfo(path).absoluteFilePath(), reason));
}

FileError FileError::CannotWrite(const QFileDevice& file)
{
    const QString path = QFileInfo(file.fileName()).absoluteFilePath();
    // Qt reports a full disk (ENOSPC) as a resource error.
    if (file.error() == QFileDevice::ResourceError)
        return FileError(QStringLiteral("Le disque est plein : le fichier \"%1\" n'a pas pu être écrit en entier.")
                             .arg(path));
    return FileError(QStringLiteral("Erreur d'écriture dans le fichier \"%1\". %2").arg(path, file.errorString()));
}

FileError FileError::CannotOpen(const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("Impossible d'ouvrir le fichier \"%1\". %2")
                         .arg(QFileInfo(path).absoluteFilePath(), reason));
}
