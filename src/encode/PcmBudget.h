#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>

// The bound on PCM queued between the reader and the encoders of a run. The
// reader waits when taking more would pass the bound; encoders give back
// what they have consumed. Abort wakes every waiter for good.
class PcmBudget {
public:
    static constexpr int64_t DefaultBytes = 48 * 1024 * 1024;

    explicit PcmBudget(int64_t bytes = DefaultBytes);
    PcmBudget(const PcmBudget&) = delete;
    PcmBudget& operator=(const PcmBudget&) = delete;

    // Waits until the bytes fit; false when aborted. A request larger than the
    // whole bound waits for an empty queue instead of forever.
    bool Take(int64_t bytes);
    void Give(int64_t bytes);
    void Abort();
    int64_t InUse() const;
    int64_t Peak() const;

private:
    const int64_t m_limit;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    int64_t m_used = 0;
    int64_t m_peak = 0;
    bool m_aborted = false;
};
