#pragma once
#include <cstdint>

// The AccurateRip v1 sum of a track's audio as it moves one sample at a
// time, either way, each step in constant time. With x the samples, a..b the
// counted places of the track (the disc's edges left out) and o the offset,
// the sum is W(o) = Σ (i+1)·x[o+i] over i in a..b. Keeping the plain sum
// S(o) = Σ x[o+i] beside it,
//   W(o+1) = W(o) − S(o) − a·x[o+a] + (b+1)·x[o+b+1],
//   S(o+1) = S(o) − x[o+a] + x[o+b+1],
// and back again, all modulo 2^64: the low half is the v1 sum.
//
// v2 adds the products' high halves, H = Σ ⌊(i+1)·x / 2^32⌋, which do not
// slide. But the high half of W, ⌊W / 2^32⌋, is H plus the carry of the low
// halves' sum, a number d with 0 ≤ d < N for N samples counted; so v2 is
// V1 + ⌊W / 2^32⌋ − d modulo 2^32, and a sum outside that window of N values
// cannot be this offset's v2.
class AccurateRipSlide {
public:
    // The sums over the counted places first..last of x, the track at the
    // starting offset.
    static AccurateRipSlide Of(const uint32_t* x, int64_t first, int64_t last);
    // The same from the sums W and S themselves.
    AccurateRipSlide(int64_t first, int64_t last, uint64_t weighted, uint64_t plain);

    int64_t First() const { return m_first; }
    int64_t Last() const { return m_last; }
    uint32_t V1() const { return static_cast<uint32_t>(m_weighted); }
    // False when sum cannot be the v2 sum at this offset; true for the v2
    // sum and for about one sum in 300 others.
    bool MayBeV2(uint32_t sum) const;

    // One sample later: x[o+a] leaves, x[o+b+1] enters.
    void Forward(uint32_t leaving, uint32_t entering);
    // One sample earlier: x[o+b] leaves, x[o+a−1] enters.
    void Backward(uint32_t leaving, uint32_t entering);

private:
    bool counts() const { return m_first <= m_last; }

    int64_t m_first; // a
    int64_t m_last;  // b
    uint64_t m_weighted; // W
    uint64_t m_plain;    // S
};
