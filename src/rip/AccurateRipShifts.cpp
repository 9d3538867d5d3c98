#include "rip/AccurateRipShifts.h"
#include "rip/SlidingAccurateRipSum.h"
#include <algorithm>

AccurateRipShifts::AccurateRipShifts(int64_t start, int64_t samples, bool firstTrack, bool lastTrack, int range)
    : m_start(start), m_first(SlidingAccurateRipSum::FirstCounted(firstTrack)),
      m_last(SlidingAccurateRipSum::LastCounted(samples, lastTrack)), m_range(range),
      m_head(static_cast<size_t>(2 * range), 0), m_tail(static_cast<size_t>(2 * range), 0)
{
}

void AccurateRipShifts::Add(int64_t at, const uint32_t* samples, int64_t count)
{
    addToSums(at, samples, count);
    keep(m_head, m_start + m_first - m_range, at, samples, count);
    keep(m_tail, m_start + m_last - m_range + 1, at, samples, count);
}

void AccurateRipShifts::addToSums(int64_t at, const uint32_t* samples, int64_t count)
{
    const int64_t from = std::max(at, m_start + m_first);
    const int64_t to = std::min(at + count, m_start + m_last + 1);
    for (int64_t p = from; p < to; ++p) {
        const uint32_t x = samples[p - at];
        m_weighted += static_cast<uint64_t>(p - m_start + 1) * x;
        m_plain += x;
    }
}

void AccurateRipShifts::keep(std::vector<uint32_t>& edge, int64_t edgeStart, int64_t at, const uint32_t* samples,
                             int64_t count)
{
    const int64_t from = std::max(at, edgeStart);
    const int64_t to = std::min(at + count, edgeStart + static_cast<int64_t>(edge.size()));
    if (from < to)
        std::copy(samples + (from - at), samples + (to - at), edge.begin() + (from - edgeStart));
}

// Going on from shift o, x[o+a] is m_head[o + range] and x[o+b+1]
// m_tail[o + range]; going back, x[o+a−1] and x[o+b] are the entries before.
void AccurateRipShifts::Visit(const std::function<void(int shift, const AccurateRipSlide& sums)>& visit) const
{
    const AccurateRipSlide atZero(m_first, m_last, m_weighted, m_plain);
    AccurateRipSlide later = atZero;
    visit(0, later);
    for (int shift = 0; shift < m_range; ++shift) {
        later.Forward(m_head[shift + m_range], m_tail[shift + m_range]);
        visit(shift + 1, later);
    }
    AccurateRipSlide earlier = atZero;
    for (int shift = 0; shift > -m_range; --shift) {
        earlier.Backward(m_tail[shift + m_range - 1], m_head[shift + m_range - 1]);
        visit(shift - 1, earlier);
    }
}
