#pragma once
#include "platform/IAudioReadFilter.h"
#include <QtGlobal>
#include <cstdint>
#include <map>
#include <mutex>

// Faults of a damaged disc, made below libcdio-paranoia: a read that touches
// a faulty sector fails whole, as a drive's read of a scratched area does, or
// stops short before it, or delivers it with changed bytes.
class DriveFaults : public IAudioReadFilter {
public:
    enum class Kind {
        FailRead,        // the whole read fails
        ShortRead,       // the read stops before the sector
        SameWrongBytes,  // the sector reads wrong, the same way every time
        NewWrongBytes,   // the sector reads wrong, differently at each read
    };
    static constexpr int Forever = -1;

    // Sectors first..first + count - 1 (disc addresses) have the fault for
    // their first `tries` reads, or forever.
    void Add(Kind kind, int32_t first, int32_t count, int tries = Forever);

    long ReadAudio(void* buffer, int32_t first, long count, const Read& drive) override;

private:
    struct Fault {
        Kind kind;
        int triesLeft;
    };
    // The first faulty sector of the read that is still faulty, or -1.
    int32_t firstFaulty(int32_t first, long count, Kind kind) const;
    void spendTries(int32_t first, long count);
    void changeBytes(uint8_t* buffer, int32_t first, long count);

    std::mutex m_lock;
    std::map<int32_t, Fault> m_faults;
    uint32_t m_reads = 0;
};
