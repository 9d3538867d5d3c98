#pragma once

// A POSIX file descriptor, closed when the object goes.
class PosixFd {
public:
    explicit PosixFd(int fd) : m_fd(fd) {}
    ~PosixFd();
    PosixFd(const PosixFd&) = delete;
    PosixFd& operator=(const PosixFd&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Get() const { return m_fd; }

private:
    int m_fd;
};
