#include "rip/SlidingAccurateRipSum.h"
#include "rip/AccurateRipChecksums.h"

int64_t SlidingAccurateRipSum::FirstCounted(bool firstTrack)
{
    return firstTrack ? AccurateRipChecksums::EdgeSamples - 1 : 0;
}

int64_t SlidingAccurateRipSum::LastCounted(int64_t trackSamples, bool lastTrack)
{
    return trackSamples - 1 - (lastTrack ? AccurateRipChecksums::EdgeSamples : 0);
}

SlidingAccurateRipSum::SlidingAccurateRipSum(const std::vector<uint32_t>& samples, int margin, bool firstTrack,
                                             bool lastTrack)
    : m_samples(samples), m_margin(margin), m_offset(-margin),
      m_slide(AccurateRipSlide::Of(samples.data(), FirstCounted(firstTrack),
                                   LastCounted(static_cast<int64_t>(samples.size()) - 2 * margin, lastTrack)))
{
}

bool SlidingAccurateRipSum::Next()
{
    if (m_offset >= m_margin)
        return false;
    const uint32_t* x = TrackAt(m_offset);
    if (m_slide.First() <= m_slide.Last())
        m_slide.Forward(x[m_slide.First()], x[m_slide.Last() + 1]);
    ++m_offset;
    return true;
}
