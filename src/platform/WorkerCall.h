#pragma once
#include <functional>

// Runs slow work (a disc read, an encoding, a request) on a worker thread
// while the calling thread's event loop goes on, so that its windows repaint
// and take clicks. Returns when the work returns; rethrows what it threw.
class WorkerCall {
public:
    static constexpr int DefaultTickMs = 40;

    // tick, when given, runs on the calling thread every tickMs while the
    // work runs, and once more at its end.
    static void Run(const std::function<void()>& work, const std::function<void()>& tick = {},
                    int tickMs = DefaultTickMs);
};
