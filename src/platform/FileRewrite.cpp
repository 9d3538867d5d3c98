#include "platform/FileRewrite.h"
#include "platform/ConversionTarget.h"
#include "platform/FileError.h"
#include "platform/FileWriteLock.h"
#include "platform/PosixFd.h"
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
// The bytes of from after to's; false with errno set when a read or a write fails.
bool copyAll(int from, int to)
{
    std::vector<char> chunk(1 << 20);
    for (;;) {
        const ssize_t got = ::read(from, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!PosixFd::WriteAll(to, chunk.data(), got))
            return false;
    }
}
} // namespace

void FileRewrite::Apply(const QString& path, const std::function<void(const QString& copy)>& change)
{
    const FileWriteLock lock(path);
    const PosixFd source(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!source.IsOpen())
        throw FileError::CannotOpen(path, FileError::Reason(errno));
    ConversionTarget copy(path);
    if (!copyAll(source.Get(), copy.Descriptor()))
        throw FileError::CannotWrite(path, errno);
    struct stat info {};
    if (::fstat(source.Get(), &info) == 0)
        ::fchmod(copy.Descriptor(), info.st_mode & 07777);
    try {
        change(copy.DataPath());
    } catch (const CalvenorError& e) {
        // The user knows the file by its name, not by the copy's.
        throw CalvenorError(QString(e.message()).replace(copy.DataPath(), QFileInfo(path).absoluteFilePath()));
    }
    copy.Commit();
}
