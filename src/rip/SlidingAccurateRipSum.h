#pragma once
#include "rip/AccurateRipSlide.h"
#include <cstddef>
#include <cstdint>
#include <vector>

// The AccurateRip v1 sum of one track read at every offset in turn, each
// shift costing a constant time (AccurateRipSlide), from the track's samples
// as read with a margin on each side.
class SlidingAccurateRipSum {
public:
    // samples: the track's samples as read, with margin samples more on
    // each side; starts at the offset −margin.
    SlidingAccurateRipSum(const std::vector<uint32_t>& samples, int margin, bool firstTrack, bool lastTrack);

    int Offset() const { return m_offset; }
    uint32_t V1() const { return m_slide.V1(); }
    bool MayBeV2(uint32_t sum) const { return m_slide.MayBeV2(sum); }
    // One sample further; false past the offset +margin.
    bool Next();

    // The track's samples at an offset, for the sums that cannot slide.
    const uint32_t* TrackAt(int offset) const { return m_samples.data() + m_margin + offset; }
    int64_t TrackSamples() const { return static_cast<int64_t>(m_samples.size()) - 2 * m_margin; }

    // The counted places of a track of that many samples (from 0): the
    // first track's first 5 sectors less one sample and the last track's
    // last 5 sectors are left out.
    static int64_t FirstCounted(bool firstTrack);
    static int64_t LastCounted(int64_t trackSamples, bool lastTrack);

private:
    const std::vector<uint32_t>& m_samples;
    int m_margin;
    int m_offset;
    AccurateRipSlide m_slide;
};
