#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class Ebur128Meter;

// Measures the loudness of a read's audio on a thread of its own: the read
// hands each chunk over and goes on, and the measure costs it no time where
// a core is free.
class BackgroundMeter {
public:
    BackgroundMeter();
    // Stops the measure if Finish was not called.
    ~BackgroundMeter();
    BackgroundMeter(const BackgroundMeter&) = delete;
    BackgroundMeter& operator=(const BackgroundMeter&) = delete;

    // Takes a copy; waits while many chunks are still to be measured.
    void Add(const uint8_t* pcm, int64_t bytes);
    // The meter once all the audio given is measured; raises the meter's error.
    std::shared_ptr<const Ebur128Meter> Finish();

private:
    void run();
    void stop();

    std::shared_ptr<Ebur128Meter> m_meter;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<std::vector<uint8_t>> m_chunks;
    // Buffers measured, used again: the rip loop allocates nothing per chunk.
    std::vector<std::vector<uint8_t>> m_spare;
    bool m_closed = false;
    std::exception_ptr m_error;
    std::thread m_thread; // last: starts once the rest is ready
};
