#include "platform/WholeFile.h"
#include "platform/ConversionTarget.h"
#include "platform/FileError.h"
#include "platform/PosixFd.h"

void WholeFile::Write(const QString& path, const QByteArray& bytes)
{
    ConversionTarget target(path);
    if (!PosixFd::WriteAll(target.Descriptor(), bytes.constData(), bytes.size()))
        throw FileError::CannotWrite(path, errno);
    target.Commit();
}
