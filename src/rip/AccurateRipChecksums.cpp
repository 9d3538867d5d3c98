#include "rip/AccurateRipChecksums.h"
#include <QtEndian>
#include <algorithm>
#include <cstring>
#ifdef __x86_64__
#include <immintrin.h>
#endif

namespace {
constexpr int SampleBytes = 4;

#ifdef __x86_64__
// Eight samples at a time on processors that have AVX2; returns how many
// were summed, a multiple of eight.
__attribute__((target("avx2"))) uint32_t sumEights(const uint8_t* at, uint32_t position, uint32_t count,
                                                   uint64_t* low, uint64_t* high)
{
    const __m256i lowHalves = _mm256_set1_epi64x(0xFFFFFFFF);
    __m256i positions = _mm256_add_epi32(_mm256_set1_epi32(int(position)), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    const __m256i eight = _mm256_set1_epi32(8);
    __m256i lows = _mm256_setzero_si256(), highs = _mm256_setzero_si256();
    uint32_t done = 0;
    for (; count - done >= 8; done += 8, at += 8 * SampleBytes) {
        const __m256i samples = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
        const __m256i even = _mm256_mul_epu32(samples, positions);
        const __m256i odd = _mm256_mul_epu32(_mm256_srli_epi64(samples, 32), _mm256_srli_epi64(positions, 32));
        lows = _mm256_add_epi64(lows, _mm256_add_epi64(_mm256_and_si256(even, lowHalves),
                                                       _mm256_and_si256(odd, lowHalves)));
        highs = _mm256_add_epi64(highs, _mm256_add_epi64(_mm256_srli_epi64(even, 32), _mm256_srli_epi64(odd, 32)));
        positions = _mm256_add_epi32(positions, eight);
    }
    uint64_t lanes[4];
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(lanes), lows);
    *low += lanes[0] + lanes[1] + lanes[2] + lanes[3];
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(lanes), highs);
    *high += lanes[0] + lanes[1] + lanes[2] + lanes[3];
    return done;
}

const bool HasAvx2 = __builtin_cpu_supports("avx2");
#endif
} // namespace

AccurateRipChecksums::AccurateRipChecksums(bool firstTrack, bool lastTrack)
    : m_firstCounted(firstTrack ? EdgeSamples : 1), m_lastTrack(lastTrack)
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
    const auto whole = static_cast<uint64_t>(bytes / SampleBytes);
    // Only the counted positions of the piece are visited, with no test per sample.
    const uint64_t from = std::max(m_position, m_firstCounted);
    const uint64_t to = m_position + whole;
    if (from < to) {
        const Sums run = sumRun(pcm + (from - m_position) * SampleBytes, from, to);
        m_v1 += static_cast<uint32_t>(run.low);
        m_v2 += static_cast<uint32_t>(run.low + run.high);
    }
    if (m_lastTrack) {
        const uint64_t kept = std::min<uint64_t>(whole, EdgeSamples);
        keepTail(pcm + (whole - kept) * SampleBytes, to - kept, kept);
    }
    m_position = to;
    m_partialBytes = static_cast<int>(bytes - static_cast<int64_t>(whole) * SampleBytes);
    std::memcpy(m_partial, pcm + whole * SampleBytes, static_cast<size_t>(m_partialBytes));
}

// The low and high halves of the products are summed apart in 64 bits
// (a piece holds far fewer than 2^32 samples, so neither sum overflows),
// eight or four samples at a time where the processor multiplies in vectors.
AccurateRipChecksums::Sums AccurateRipChecksums::sumRun(const uint8_t* at, uint64_t from, uint64_t to)
{
    Sums sums;
    auto position = static_cast<uint32_t>(from);
    auto count = static_cast<uint32_t>(to - from);
#ifdef __x86_64__
    if (HasAvx2) {
        const uint32_t done = sumEights(at, position, count, &sums.low, &sums.high);
        at += done * SampleBytes;
        position += done;
        count -= done;
    }
#endif
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
    sums.low += lanes[0] + lanes[1];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), highs);
    sums.high += lanes[0] + lanes[1];
#endif
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t product = uint64_t(position + i) * qFromLittleEndian<uint32_t>(at + i * SampleBytes);
        sums.low += static_cast<uint32_t>(product);
        sums.high += product >> 32;
    }
    return sums;
}

void AccurateRipChecksums::keepTail(const uint8_t* at, uint64_t from, uint64_t count)
{
    size_t slot = from % EdgeSamples;
    for (uint64_t i = 0; i < count; ++i, slot = slot + 1 == EdgeSamples ? 0 : slot + 1)
        m_tail[slot] = qFromLittleEndian<uint32_t>(at + i * SampleBytes);
}

void AccurateRipChecksums::addSample(uint32_t sample)
{
    uint8_t bytes[SampleBytes];
    qToLittleEndian(sample, bytes);
    const uint64_t position = m_position;
    if (position >= m_firstCounted) {
        const Sums one = sumRun(bytes, position, position + 1);
        m_v1 += static_cast<uint32_t>(one.low);
        m_v2 += static_cast<uint32_t>(one.low + one.high);
    }
    if (m_lastTrack)
        m_tail[position % EdgeSamples] = sample;
    ++m_position;
}

AccurateRipChecksums::Sums AccurateRipChecksums::tail() const
{
    Sums sums;
    if (!m_lastTrack)
        return sums;
    const uint64_t end = m_position; // past the last sample
    const uint64_t from = std::max(m_firstCounted, end > EdgeSamples ? end - EdgeSamples : 1);
    for (uint64_t p = from; p < end; ++p) {
        const uint64_t product = p * m_tail[p % EdgeSamples];
        sums.low += static_cast<uint32_t>(product);
        sums.high += product >> 32;
    }
    return sums;
}

uint32_t AccurateRipChecksums::V1() const
{
    return m_v1 - static_cast<uint32_t>(tail().low);
}

uint32_t AccurateRipChecksums::V2() const
{
    const Sums t = tail();
    return m_v2 - static_cast<uint32_t>(t.low + t.high);
}
