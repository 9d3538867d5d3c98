#pragma once
#include "rip/AccurateRipSlide.h"
#include <cstdint>
#include <functional>
#include <vector>

// The AccurateRip v1 sums of one track of a disc's audio at every shift
// within ±range, from a single pass over the disc: the sums at shift 0 and
// the samples within range of the counted part's two ends, from which the
// sums slide either way (AccurateRipSlide). At shift s the track's sample i
// is the disc's sample start + s + i; beyond the disc's audio lies silence.
class AccurateRipShifts {
public:
    AccurateRipShifts(int64_t start, int64_t samples, bool firstTrack, bool lastTrack, int range);

    // A piece of the disc's audio: count samples from the disc's sample at.
    void Add(int64_t at, const uint32_t* samples, int64_t count);
    // The sums at each shift, from 0 out to +range, then from −1 to −range.
    void Visit(const std::function<void(int shift, const AccurateRipSlide& sums)>& visit) const;

private:
    // The counted place i of the track at shift 0 is the disc's sample start + i.
    void addToSums(int64_t at, const uint32_t* samples, int64_t count);
    static void keep(std::vector<uint32_t>& edge, int64_t edgeStart, int64_t at, const uint32_t* samples,
                     int64_t count);

    int64_t m_start;
    int64_t m_first; // a
    int64_t m_last;  // b
    int m_range;
    uint64_t m_weighted = 0;
    uint64_t m_plain = 0;
    // The track's samples a − range … a + range − 1 and b − range + 1 … b + range.
    std::vector<uint32_t> m_head;
    std::vector<uint32_t> m_tail;
};
