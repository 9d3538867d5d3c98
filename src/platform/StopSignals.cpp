#include "platform/StopSignals.h"
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t received = 0;
volatile std::sig_atomic_t wakeFd = -1;
constexpr char SignalByte = 1;
constexpr char QuitByte = 0;

// A failed write loses only the wake-up: the flag is raised all the same.
void writeByte(int fd, char byte)
{
    if (fd < 0)
        return;
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
}

void remember(int signal)
{
    const int savedErrno = errno;
    received = signal;
    writeByte(wakeFd, SignalByte);
    errno = savedErrno;
}

std::array<int, 2> openPipe()
{
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return {-1, -1};
    return {ends[0], ends[1]};
}
} // namespace

StopSignals::StopSignals(std::function<void()> onStop) : StopSignals(std::move(onStop), openPipe()) {}

StopSignals::StopSignals(std::function<void()> onStop, std::array<int, 2> pipeEnds)
    : m_onStop(std::move(onStop)), m_readEnd(pipeEnds[0]), m_writeEnd(pipeEnds[1])
{
    received = 0;
    wakeFd = m_writeEnd.Get();
    if (m_onStop)
        m_watcher = std::thread([this] { watch(); });
    struct sigaction action {};
    action.sa_handler = remember;
    sigemptyset(&action.sa_mask);
    // Restarted reads and writes: the flag is read at the next step.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, &m_oldInt);
    sigaction(SIGTERM, &action, &m_oldTerm);
}

StopSignals::~StopSignals()
{
    sigaction(SIGINT, &m_oldInt, nullptr);
    sigaction(SIGTERM, &m_oldTerm, nullptr);
    wakeFd = -1;
    if (m_watcher.joinable()) {
        writeByte(m_writeEnd.Get(), QuitByte);
        m_watcher.join();
    }
}

void StopSignals::watch()
{
    char byte = QuitByte;
    ssize_t count = 0;
    do
        count = ::read(m_readEnd.Get(), &byte, 1);
    while (count < 0 && errno == EINTR);
    if (count == 1 && byte == SignalByte)
        m_onStop();
}

int StopSignals::Received()
{
    return received;
}
