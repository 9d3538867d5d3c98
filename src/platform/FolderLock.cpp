#include "platform/FolderLock.h"
#include "platform/FileError.h"
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>

namespace {
int openFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw FileError::CannotOpen(folder, QString::fromLocal8Bit(std::strerror(errno)));
    return fd;
}
} // namespace

FolderLock::FolderLock(const QString& folder) : m_fd(openFolder(folder))
{
    while (::flock(m_fd.Get(), LOCK_EX) != 0)
        if (errno != EINTR)
            throw FileError::CannotOpen(folder, QString::fromLocal8Bit(std::strerror(errno)));
}

FolderLock::~FolderLock()
{
    ::flock(m_fd.Get(), LOCK_UN);
}
