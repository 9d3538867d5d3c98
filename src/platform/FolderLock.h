#pragma once
#include "platform/PosixFd.h"
#include <QString>

// An exclusive flock on a folder, held while the object lives: programs
// that read, merge and rewrite a file of the folder take turns. No file is
// created for it. Raises FileError when the folder cannot be opened.
class FolderLock {
public:
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    PosixFd m_fd;
};
