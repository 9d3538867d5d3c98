#include "platform/StopSignals.h"
#include <chrono>

namespace {
volatile std::sig_atomic_t received = 0;
constexpr std::chrono::milliseconds WatchInterval{20};

void remember(int signal)
{
    received = signal;
}
} // namespace

StopSignals::StopSignals(std::function<void()> onStop) : m_onStop(std::move(onStop))
{
    received = 0;
    struct sigaction action {};
    action.sa_handler = remember;
    sigemptyset(&action.sa_mask);
    // Restarted reads and writes: the flag is read at the next step.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, &m_oldInt);
    sigaction(SIGTERM, &action, &m_oldTerm);
    if (m_onStop)
        m_watcher = std::thread([this] { watch(); });
}

StopSignals::~StopSignals()
{
    if (m_watcher.joinable()) {
        {
            const std::lock_guard<std::mutex> lock(m_lock);
            m_ended = true;
        }
        m_ending.notify_all();
        m_watcher.join();
    }
    sigaction(SIGINT, &m_oldInt, nullptr);
    sigaction(SIGTERM, &m_oldTerm, nullptr);
}

void StopSignals::watch()
{
    std::unique_lock<std::mutex> lock(m_lock);
    while (!m_ending.wait_for(lock, WatchInterval, [this] { return m_ended; }))
        if (received) {
            m_onStop();
            return;
        }
}

int StopSignals::Received()
{
    return received;
}
