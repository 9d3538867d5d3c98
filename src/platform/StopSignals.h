#pragma once
#include <condition_variable>
#include <csignal>
#include <functional>
#include <mutex>
#include <thread>

// While the object lives, SIGINT and SIGTERM only raise a flag that a long
// operation reads between two steps, so it can end its file cleanly. A second
// signal of the same kind acts as usual (the handlers reset themselves).
// The previous handlers come back on destruction.
class StopSignals {
public:
    // onStop, when given, is called once soon after the first signal, from a
    // thread of its own: a read stuck on a damaged disc takes no steps, so
    // the flag alone would wait for it. It must be safe from any thread.
    explicit StopSignals(std::function<void()> onStop = {});
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal received, 0 when none came.
    static int Received();

private:
    void watch();

    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
    std::function<void()> m_onStop;
    std::mutex m_lock;
    std::condition_variable m_ending;
    bool m_ended = false;
    std::thread m_watcher;
};
