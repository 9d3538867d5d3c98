#include "platform/PosixFd.h"
#include <unistd.h>

PosixFd::~PosixFd()
{
    if (m_fd >= 0)
        ::close(m_fd);
}
