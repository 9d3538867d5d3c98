#pragma once

// A POSIX file descriptor, closed when the object goes.
class PosixFd {
public:
    explicit PosixFd(int fd) : m_fd(fd) {}
    ~PosixFd();
    PosixFd(const PosixFd&) = delete;
    PosixFd& operator=(const PosixFd&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    // Writes all length bytes at the descriptor's position, going on after
    // short writes and interruptions; false with errno set when one fails.
    static bool WriteAll(int fd, const char* data, long long length);
    int Get() const { return m_fd; }

private:
    int m_fd;
};
