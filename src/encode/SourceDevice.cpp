#include "encode/SourceDevice.h"
#include "platform/FileError.h"
#include <QBuffer>
#include <QFile>

std::unique_ptr<QIODevice> SourceDevice::Open(const QString& path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        throw FileError::CannotOpen(path, file->errorString());
    return file;
}

std::unique_ptr<QIODevice> SourceDevice::Over(const QByteArray& bytes)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}
