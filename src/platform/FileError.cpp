#include "platform/FileError.h"
#include <QFileInfo>

FileError FileError::CannotCreate(const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("Impossible de créer le fichier \"%1\". %2")
                         .arg(QFileInfo(path).absoluteFilePath(), reason));
}

FileError FileError::CannotOpen(const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("Impossible d'ouvrir le fichier \"%1\". %2")
                         .arg(QFileInfo(path).absoluteFilePath(), reason));
}
