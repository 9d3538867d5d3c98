#include "rip/SlidingAccurateRipSum.h"
#include "rip/AccurateRipChecksums.h"

SlidingAccurateRipSum::SlidingAccurateRipSum(const std::vector<uint32_t>& samples, int margin, bool firstTrack,
                                             bool lastTrack)
    : m_samples(samples), m_margin(margin), m_offset(-margin)
{
    const int64_t length = TrackSamples();
    m_first = firstTrack ? AccurateRipChecksums::EdgeSamples - 1 : 0;
    m_last = length - 1 - (lastTrack ? AccurateRipChecksums::EdgeSamples : 0);
    for (int64_t i = m_first; i <= m_last; ++i) {
        m_weighted += static_cast<uint64_t>(i + 1) * at(i);
        m_plain += at(i);
    }
}

bool SlidingAccurateRipSum::Next()
{
    if (m_offset >= m_margin)
        return false;
    if (m_first <= m_last) {
        const uint64_t leaving = at(m_first);
        const uint64_t entering = at(m_last + 1);
        m_weighted += -m_plain - static_cast<uint64_t>(m_first) * leaving + static_cast<uint64_t>(m_last + 1) * entering;
        m_plain += entering - leaving;
    }
    ++m_offset;
    return true;
}

bool SlidingAccurateRipSum::MayBeV2(uint32_t sum) const
{
    const int64_t counted = m_last - m_first + 1;
    const uint32_t carry = V1() + static_cast<uint32_t>(m_weighted >> 32) - sum; // d
    return counted > 0 && carry < static_cast<uint64_t>(counted);
}
