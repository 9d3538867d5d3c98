#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The AccurateRip v1 sum of one track read at every offset in turn, each
// shift costing a constant time. With x the samples as read, a..b the
// counted places of the track (the first track's edge left out) and o the
// offset, the sum is W(o) = Σ (i+1)·x[o+i] over i in a..b. Keeping the plain
// sum S(o) = Σ x[o+i] beside it,
//   W(o+1) = W(o) − S(o) − a·x[o+a] + (b+1)·x[o+b+1],
//   S(o+1) = S(o) − x[o+a] + x[o+b+1],
// kept modulo 2^64: the low half is the v1 sum.
//
// v2 adds the products' high halves, H = Σ ⌊(i+1)·x / 2^32⌋, which do not
// slide. But the high half of W, ⌊W / 2^32⌋, is H plus the carry of the low
// halves' sum, a number d with 0 ≤ d < N for N samples counted; so v2 is
// V1 + ⌊W / 2^32⌋ − d modulo 2^32, and a sum outside that window of N values
// cannot be this offset's v2.
class SlidingAccurateRipSum {
public:
    // samples: the track's samples as read, with margin samples more on
    // each side; starts at the offset −margin.
    SlidingAccurateRipSum(const std::vector<uint32_t>& samples, int margin, bool firstTrack, bool lastTrack);

    int Offset() const { return m_offset; }
    uint32_t V1() const { return static_cast<uint32_t>(m_weighted); }
    // False when sum cannot be the v2 sum at this offset; true for the v2
    // sum and for about one sum in 300 others.
    bool MayBeV2(uint32_t sum) const;
    // One sample further; false past the offset +margin.
    bool Next();

    // The track's samples at an offset, for the sums that cannot slide.
    const uint32_t* TrackAt(int offset) const { return m_samples.data() + m_margin + offset; }
    int64_t TrackSamples() const { return static_cast<int64_t>(m_samples.size()) - 2 * m_margin; }

private:
    uint32_t at(int64_t i) const { return m_samples[static_cast<size_t>(m_margin + m_offset + i)]; }

    const std::vector<uint32_t>& m_samples;
    int m_margin;
    int64_t m_first; // a
    int64_t m_last;  // b
    int m_offset;
    uint64_t m_weighted = 0; // W
    uint64_t m_plain = 0;    // S
};
