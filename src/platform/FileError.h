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
    // The same with the system's error number told in French.
    static FileError CannotCreate(const QString& path, int systemError);
    // "Impossible d'ouvrir le fichier "<absolute path>". <reason>"
    static FileError CannotOpen(const QString& path, const QString& reason);
    // A write or flush of the open file at path failed; systemError: errno right after
    // the failure. A full disk is named as such whatever Qt made of it (a
    // short write comes back as a bare WriteError), and so is a refusal.
    static FileError CannotWrite(const QString& path, const QFileDevice& file, int systemError);
    // The same for a write through a bare descriptor.
    static FileError CannotWrite(const QString& path, int systemError);
    // The French reason of a system error number: full disk, read-only file
    // system, refused access and missing folder in words of their own, else
    // the system's text.
    static QString Reason(int systemError);
    // Whether the file system holding path has no room left for a user.
    static bool DiskFull(const QString& path);
    // "Le disque est plein : le fichier "<absolute path>" n'a pas pu être écrit en entier."
    static FileError Full(const QString& path);

private:
    static FileError cannotWrite(const QString& path, int systemError, const QString& reason);
};
