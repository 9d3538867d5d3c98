#include "platform/WholeFile.h"
#include "platform/FileError.h"
#include <QSaveFile>

void WholeFile::Write(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError::CannotCreate(path, file.errorString());
    file.write(bytes);
    if (!file.commit())
        throw FileError::CannotCreate(path, file.errorString());
}
