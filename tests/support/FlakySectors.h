#pragma once
#include "platform/IAudioReadFilter.h"
#include "rip/IRipProgress.h"
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <vector>

// A disc whose chosen sectors read wrong, without a word, or fail on some
// reads of a track and read right on the others. Reads of a track are
// counted from 1 as the ripper begins them: give it as the rip's progress.
class FlakySectors : public IAudioReadFilter, public IRipProgress {
public:
    enum class Kind {
        WrongBytes,     // changed bytes, changed differently at each read
        SameWrongBytes, // changed bytes, changed the same way at each read
        FailRead,   // the drive's read that touches them fails
    };
    // Sectors first..first + count - 1 (disc addresses) have the fault on the reads listed.
    void Add(Kind kind, int32_t first, int32_t count, const std::set<int>& reads);
    // How many reads of a track began.
    int Reads() const { return m_read; }
    // Calls stop at each chunk of the read of that number.
    void StopIn(int read, std::function<void()> stop)
    {
        m_stopIn = read;
        m_stop = std::move(stop);
    }

    long ReadAudio(void* buffer, int32_t first, long count, const Read& drive) override;
    void TrackBegins(int, const QString&) override { ++m_read; }
    void ReadProgress(int) override
    {
        if (m_read == m_stopIn)
            m_stop();
    }

private:
    struct Fault {
        Kind kind;
        int32_t first;
        int32_t count;
        std::set<int> reads;
    };
    bool hits(const Fault& fault, int32_t first, long count) const;

    std::mutex m_lock;
    std::vector<Fault> m_faults;
    std::atomic<int> m_read{0};
    int m_stopIn = 0;
    std::function<void()> m_stop;
};
