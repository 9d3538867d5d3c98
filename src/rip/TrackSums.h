#pragma once
#include "platform/Crc32.h"
#include <cstdint>
#include <memory>

class AccurateRipChecksums;
class CtdbCrc;
class BackgroundMeter;
struct TrackRipResult;

// The sums of one read's audio as delivered: for CD audio the AccurateRip
// checksums, the CUETools database CRC and, when asked, the loudness (on a
// thread of its own); for any other format its CRC32 alone, which tells two
// reads apart.
class TrackSums {
public:
    // Any other format than CD audio.
    TrackSums();
    // CD audio of trackBytes; first and last: the disc's first and last track.
    TrackSums(int64_t trackBytes, bool first, bool last, bool measureLoudness);
    ~TrackSums();
    TrackSums(TrackSums&&) noexcept;
    TrackSums& operator=(TrackSums&&) noexcept;

    void Add(const uint8_t* pcm, int64_t bytes);
    // Puts the sums into the result of a read made to its end, once the
    // loudness has caught up; raises the meter's error.
    void Into(TrackRipResult& result);

private:
    std::unique_ptr<AccurateRipChecksums> m_cd;
    std::unique_ptr<CtdbCrc> m_ctdb;
    std::unique_ptr<BackgroundMeter> m_loudness;
    Crc32 m_other;
};
