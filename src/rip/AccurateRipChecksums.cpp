#include "rip/AccurateRipChecksums.h"
#include <QtEndian>
#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

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
    if (m_partialBytes > 0) {
        const int taken = static_cast<int>(std::min<int64_t>(SampleBytes - m_partialBytes, bytes));
        std::memcpy(m_partial + m_partialBytes, pcm, static_cast<size_t>(taken));
        m_partialBytes += taken;
        pcm += taken;
        bytes -= taken;
        if (m_partialBytes < SampleBytes)
            return;
        addSample(qFromLittleEndian<uint32_t>(m_partial));
        m_partialBytes = 0;
    }
    const int64_t whole = bytes / SampleBytes;
    // Only the counted positions of the piece are visited, with no test per sample.
    const uint64_t from = std::max(m_position, m_firstCounted);
    const uint64_t to = std::min(m_position + static_cast<uint64_t>(whole), m_lastCounted + 1);
    if (from < to)
        addRun(pcm + (from - m_position) * SampleBytes, from, to);
    m_position += static_cast<uint64_t>(whole);
    m_partialBytes = static_cast<int>(bytes - whole * SampleBytes);
    std::memcpy(m_partial, pcm + whole * SampleBytes, static_cast<size_t>(m_partialBytes));
}

// The low and high halves of the products are summed apart in 64 bits
// (a piece holds far fewer than 2^32 samples, so neither sum overflows),
// four samples at a time where the processor multiplies in vectors.
void AccurateRipChecksums::addRun(const uint8_t* at, uint64_t from, uint64_t to)
{
    uint64_t low = 0, high = 0;
    auto position = static_cast<uint32_t>(from);
    auto count = static_cast<uint32_t>(to - from);
#ifdef __SSE2__
    const __m128i lowHalves = _mm_set1_epi64x(0xFFFFFFFF);
    __m128i positions = _mm_setr_epi32(int(position), int(position + 1), int(position + 2), int(position + 3));
    const __m128i four = _mm_set1_epi32(4);
    __m128i lows = _mm_setzero_si128(), highs = _mm_setzero_si128();
    for (; count >= 4; count -= 4, position += 4, at += 4 * SampleBytes) {
        const __m128i samples = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i even = _mm_mul_epu32(samples, positions);
        const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(samples, 32), _mm_srli_epi64(positions, 32));
        lows = _mm_add_epi64(lows, _mm_add_epi64(_mm_and_si128(even, lowHalves), _mm_and_si128(odd, lowHalves)));
        highs = _mm_add_epi64(highs, _mm_add_epi64(_mm_srli_epi64(even, 32), _mm_srli_epi64(odd, 32)));
        positions = _mm_add_epi32(positions, four);
    }
    uint64_t lanes[2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), lows);
    low = lanes[0] + lanes[1];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), highs);
    high = lanes[0] + lanes[1];
#endif
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t product = uint64_t(position + i) * qFromLittleEndian<uint32_t>(at + i * SampleBytes);
        low += static_cast<uint32_t>(product);
        high += product >> 32;
    }
    m_v1 += static_cast<uint32_t>(low);
    m_v2 += static_cast<uint32_t>(low + high);
}

void AccurateRipChecksums::addSample(uint32_t sample)
{
    const uint64_t position = m_position++;
    if (position >= m_firstCounted && position <= m_lastCounted)
        addProduct(position * sample);
}
