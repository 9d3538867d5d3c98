#pragma once
#include "platform/PosixFd.h"
#include <QString>
#include <memory>

// Claims a file about to be written, held while the object lives: a second
// program (or run) that wants to write the same file is refused at once
// instead of mixing its data with ours. The claim is an flock on a hidden
// file beside the target, removed on release; one left by a killed program
// is taken over by the next writer. Raises FileError when the file is
// claimed already or the lock cannot be made.
class FileWriteLock {
public:
    explicit FileWriteLock(const QString& target);
    ~FileWriteLock();
    FileWriteLock(const FileWriteLock&) = delete;
    FileWriteLock& operator=(const FileWriteLock&) = delete;

    // ".<name>.lock" beside the target.
    static QString LockName(const QString& target);

private:
    bool tryClaim();

    QString m_target;
    QString m_lockName;
    std::unique_ptr<PosixFd> m_fd;
};
