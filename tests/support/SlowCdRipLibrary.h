#pragma once
#include "rip/ForwardingCdRipLibrary.h"
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

// A drive that reads like a real one: every chunk takes its time at a given
// speed (4 means four times real time, 0 no delay), and one chunk stalls, as
// a scratch would. A stop request ends the wait after the current sector.
// afterChunk, when set, runs on the reading thread after every chunk, and
// onOpen when a range is opened, with its first sector.
class SlowCdRipLibrary : public ForwardingCdRipLibrary {
public:
    explicit SlowCdRipLibrary(ICdRipLibrary& disc) : ForwardingCdRipLibrary(disc) {}

    double speed = 0;
    int stallChunk = -1; // counted from the first chunk of the run
    int stallMs = 0;
    std::atomic<bool> stalling{false};
    std::function<void()> afterChunk;
    std::function<void(int32_t first)> onOpen;

    int32_t CR_OpenRipper(int32_t* size, int32_t first, int32_t last) override
    {
        m_stop = false;
        if (onOpen)
            onOpen(first);
        return m_inner.CR_OpenRipper(size, first, last);
    }
    int32_t CR_RipChunk(uint8_t* buffer, int32_t* bytesRead) override
    {
        const int chunk = m_chunks++;
        if (chunk == stallChunk) {
            stalling = true;
            wait(stallMs);
            stalling = false;
        }
        const int32_t result = m_inner.CR_RipChunk(buffer, bytesRead);
        if (speed > 0)
            wait(static_cast<int>(*bytesRead / 176.4 / speed));
        if (afterChunk)
            afterChunk();
        return result;
    }
    void CR_StopReading() override
    {
        m_stop = true;
        m_inner.CR_StopReading();
    }

private:
    void wait(int ms)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!m_stop && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }

    std::atomic<bool> m_stop{false};
    std::atomic<int> m_chunks{0};
};
