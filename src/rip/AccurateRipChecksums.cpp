#include "rip/AccurateRipChecksums.h"
#include <QtEndian>
#include <algorithm>

namespace {
constexpr int SampleBytes = 4;
} // namespace

AccurateRipChecksums::AccurateRipChecksums(int64_t sampleCount, bool firstTrack, bool lastTrack)
    : m_firstCounted(firstTrack ? EdgeSamples : 1),
      m_lastCounted(static_cast<uint64_t>(std::max<int64_t>(0, lastTrack ? sampleCount - EdgeSamples : sampleCount)))
{
}

void AccurateRipChecksums::Add(const uint8_t* pcm, int64_t bytes)
{
    if (bytes <= 0)
        return;
    m_crc.Add(pcm, bytes);
    // A piece may end inside a sample: its bytes wait for the next piece.
    while (m_partialBytes > 0 && bytes > 0) {
        m_partial[m_partialBytes++] = *pcm++;
        --bytes;
        if (m_partialBytes == SampleBytes) {
            addSample(qFromLittleEndian<uint32_t>(m_partial));
            m_partialBytes = 0;
        }
    }
    const int64_t whole = bytes / SampleBytes;
    for (int64_t i = 0; i < whole; ++i)
        addSample(qFromLittleEndian<uint32_t>(pcm + i * SampleBytes));
    for (int64_t i = whole * SampleBytes; i < bytes; ++i)
        m_partial[m_partialBytes++] = pcm[i];
}

// v1 sums position × sample; v2 also folds in the product's high 32 bits.
inline void AccurateRipChecksums::addSample(uint32_t sample)
{
    const uint64_t position = m_position++;
    if (position < m_firstCounted || position > m_lastCounted)
        return;
    const uint64_t product = position * sample;
    m_v1 += static_cast<uint32_t>(product);
    m_v2 += static_cast<uint32_t>(product) + static_cast<uint32_t>(product >> 32);
}
