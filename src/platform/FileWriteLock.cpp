#include "platform/FileWriteLock.h"
#include "platform/FileError.h"
#include "platform/PathText.h"
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// A lock file removed by its holder between our open and our flock is no
// claim any more: the one under the name now is.
bool stillNamed(int fd, const QString& name)
{
    struct stat held {}, named {};
    return ::fstat(fd, &held) == 0 && ::stat(native(name).constData(), &named) == 0 && held.st_dev == named.st_dev
        && held.st_ino == named.st_ino;
}
} // namespace

QString FileWriteLock::LockName(const QString& target)
{
    return PathText::HiddenBeside(target, QStringLiteral(".lock"));
}

FileWriteLock::FileWriteLock(const QString& target)
    : m_target(QFileInfo(target).absoluteFilePath()), m_lockName(LockName(target))
{
    // Each retry follows a holder that let go meanwhile; a name that keeps
    // changing under us is given up on.
    constexpr int Attempts = 100;
    for (int attempt = 0; attempt < Attempts; ++attempt)
        if (tryClaim())
            return;
    throw FileError::CannotCreate(m_target, EAGAIN);
}

// False when the lock file changed under us and the claim must start again.
bool FileWriteLock::tryClaim()
{
    auto fd = std::make_unique<PosixFd>(
        ::open(native(m_lockName).constData(), O_CREAT | O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd->IsOpen())
        throw FileError::CannotCreate(m_target, errno);
    while (::flock(fd->Get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            throw FileError(QStringLiteral("Le fichier \"%1\" est déjà en cours d'écriture par un autre rippage : "
                                           "il n'a pas été touché.")
                                .arg(m_target));
        if (errno != EINTR)
            throw FileError::CannotCreate(m_target, errno);
    }
    if (!stillNamed(fd->Get(), m_lockName))
        return false;
    m_fd = std::move(fd);
    return true;
}

FileWriteLock::~FileWriteLock()
{
    // Removed while still held, so that no one claims a file about to vanish.
    ::unlink(native(m_lockName).constData());
}
