#pragma once
#include <cstdint>
#include <functional>

// Stands between libcdio-paranoia and a drive's own read of audio sectors, so
// a drive's faults can be made on purpose: a damaged disc for the tests.
class IAudioReadFilter {
public:
    // Reads `count` sectors from `first` (disc addresses) into `buffer`
    // (2352 bytes a sector); answers the sectors read, or a negative number
    // when the read failed.
    using Read = std::function<long(void* buffer, int32_t first, long count)>;

    virtual ~IAudioReadFilter() = default;
    // Reads as `drive` does, with whatever fault the filter stands for.
    virtual long ReadAudio(void* buffer, int32_t first, long count, const Read& drive) = 0;
};
