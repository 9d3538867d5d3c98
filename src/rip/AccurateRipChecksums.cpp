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
    // Only the counted positions of the piece are visited, with no test per sample.
    const uint64_t from = std::max(m_position, m_firstCounted);
    const uint64_t to = std::min(m_position + static_cast<uint64_t>(whole), m_lastCounted + 1);
    const uint8_t* at = pcm + (from - m_position) * SampleBytes;
    for (uint64_t position = from; position < to; ++position, at += SampleBytes)
        addProduct(position * qFromLittleEndian<uint32_t>(at));
    m_position += static_cast<uint64_t>(whole);
    for (int64_t i = whole * SampleBytes; i < bytes; ++i)
        m_partial[m_partialBytes++] = pcm[i];
}

void AccurateRipChecksums::addSample(uint32_t sample)
{
    const uint64_t position = m_position++;
    if (position >= m_firstCounted && position <= m_lastCounted)
        addProduct(position * sample);
}
