#include "platform/PosixFd.h"
#include <cerrno>
#include <unistd.h>

PosixFd::~PosixFd()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool PosixFd::WriteAll(int fd, const char* data, long long length)
{
    while (length > 0) {
        const ssize_t done = ::write(fd, data, static_cast<size_t>(length));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            if (done == 0)
                errno = ENOSPC; // no progress and no reason: the usual one
            return false;
        }
        data += done;
        length -= done;
    }
    return true;
}
