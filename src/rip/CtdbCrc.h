#pragma once
#include "platform/Crc32.h"
#include <QList>
#include <cstdint>
#include <optional>

class DiscToc;
struct TrackRipResult;

// One track's part of the CUETools database's disc CRC: the CRC-32 of the
// disc's audio less its first and last 10 sectors (10 × 588 samples), where
// drives with a read offset disagree. Fed piece by piece as the track is
// written; the tracks' parts join in disc order into the disc's CRC.
class CtdbCrc {
public:
    static constexpr int64_t EdgeBytes = 10 * 2352;

    // A track of trackBytes; the disc's first track leaves out its start,
    // its last track its end.
    CtdbCrc(int64_t trackBytes, bool firstTrack, bool lastTrack);

    void Add(const uint8_t* pcm, int64_t bytes);
    uint32_t Value() const { return m_crc.Value(); }
    // The bytes counted: the part's length, for joining the next part.
    int64_t Length() const { return m_counted; }

    // The disc's CRC from the parts of its audio tracks, joined in disc
    // order; none unless every audio track of the table was ripped whole.
    static std::optional<uint32_t> Disc(const DiscToc& toc, const QList<TrackRipResult>& tracks);

private:
    int64_t m_from;  // first byte counted
    int64_t m_until; // byte after the last one counted
    int64_t m_position = 0;
    int64_t m_counted = 0;
    Crc32 m_crc;
};
