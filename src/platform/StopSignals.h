#pragma once
#include <csignal>

// While the object lives, SIGINT and SIGTERM only raise a flag that a long
// operation reads between two steps, so it can end its file cleanly. A second
// signal of the same kind acts as usual (the handlers reset themselves).
// The previous handlers come back on destruction.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal received, 0 when none came.
    static int Received();

private:
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
};
