#pragma once
#include "platform/CalvenorError.h"
#include <QFileDevice>
#include <QString>

// The file system's failures, with the texts the user sees.
class FileError : public CalvenorError {
public:
    using CalvenorError::CalvenorError;
    // "Impossible de créer le fichier "<absolute path>". <reason>"
    static FileError CannotCreate(const QString& path, const QString& reason);
    // "Impossible d'ouvrir le fichier "<absolute path>". <reason>"
    static FileError CannotOpen(const QString& path, const QString& reason);
    // A write or flush of an open file failed: a full disk is named as such.
    static FileError CannotWrite(const QFileDevice& file);
};
