#pragma once
#include "platform/PosixFd.h"
#include <array>
#include <csignal>
#include <functional>
#include <thread>

// While the object lives, SIGINT and SIGTERM only raise a flag that a long
// operation reads between two steps, so it can end its file cleanly; onStop,
// when given, runs at once on a thread of its own, to stop what reads no flag
// (a network request). A second signal of the same kind acts as usual (the
// handlers reset themselves). The previous handlers come back on destruction.
class StopSignals {
public:
    explicit StopSignals(std::function<void()> onStop = nullptr);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal received, 0 when none came.
    static int Received();

private:
    StopSignals(std::function<void()> onStop, std::array<int, 2> pipeEnds);
    void watch();

    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
    std::function<void()> m_onStop;
    // The handler writes to this pipe: the watching thread wakes at once.
    PosixFd m_readEnd;
    PosixFd m_writeEnd;
    std::thread m_watcher;
};
