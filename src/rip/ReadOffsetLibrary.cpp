#include "rip/ReadOffsetLibrary.h"
#include <algorithm>
#include <cstring>

namespace {
constexpr int64_t SamplesPerSector = 588;
constexpr int64_t SampleBytes = 4;
// Chunk size when nothing is read at all.
constexpr int32_t SilenceChunkBytes = 26 * SamplesPerSector * SampleBytes;

int64_t floorDiv(int64_t a, int64_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
} // namespace

ReadOffsetLibrary::ReadOffsetLibrary(ICdRipLibrary& inner, int32_t offsetSamples, int32_t discFirst,
                                     int32_t discLast)
    : ForwardingCdRipLibrary(inner), m_offset(offsetSamples), m_discFirst(discFirst), m_discLast(discLast)
{
}

int32_t ReadOffsetLibrary::CR_OpenRipper(int32_t* bufferSize, int32_t firstSector, int32_t lastSector)
{
    m_first = firstSector;
    m_last = lastSector;
    const int64_t start = firstSector * SamplesPerSector + m_offset;
    const int64_t end = (int64_t(lastSector) + 1) * SamplesPerSector + m_offset; // past the range
    const int64_t readFirst = std::max<int64_t>(floorDiv(start, SamplesPerSector), m_discFirst);
    const int64_t readLast = std::min<int64_t>(floorDiv(end - 1, SamplesPerSector), m_discLast);
    m_total = m_remaining = std::max<int64_t>(0, end - start) * SampleBytes;
    m_silenceBefore = std::max<int64_t>(0, readFirst * SamplesPerSector - start) * SampleBytes;
    m_skip = std::max<int64_t>(0, start - readFirst * SamplesPerSector) * SampleBytes;
    m_innerDone = readFirst > readLast; // wholly beyond the disc: all silence
    int32_t innerSize = SilenceChunkBytes;
    if (!m_innerDone
        && m_inner.CR_OpenRipper(&innerSize, static_cast<int32_t>(readFirst), static_cast<int32_t>(readLast))
            == CR_FAILURE)
        return CR_FAILURE;
    m_scratch.resize(static_cast<size_t>(std::max(innerSize, 0)));
    *bufferSize = innerSize;
    return CR_OK;
}

int32_t ReadOffsetLibrary::CR_RipChunk(uint8_t* buffer, int32_t* bytesRead)
{
    *bytesRead = 0;
    if (m_remaining <= 0 || m_scratch.empty())
        return CR_FAILURE;
    int32_t result = CR_OK;
    const int64_t n = m_silenceBefore > 0 || m_innerDone ? silenceChunk(buffer) : innerChunk(buffer, &result);
    m_remaining -= n;
    *bytesRead = static_cast<int32_t>(n);
    if (m_remaining == 0)
        return CR_RANGE_DONE;
    return result == CR_JITTER_ERROR ? CR_JITTER_ERROR : CR_OK;
}

int64_t ReadOffsetLibrary::silenceChunk(uint8_t* buffer)
{
    int64_t n = std::min<int64_t>(m_remaining, static_cast<int64_t>(m_scratch.size()));
    if (m_silenceBefore > 0) {
        n = std::min(n, m_silenceBefore);
        m_silenceBefore -= n;
    }
    std::memset(buffer, 0, static_cast<size_t>(n));
    return n;
}

int64_t ReadOffsetLibrary::innerChunk(uint8_t* buffer, int32_t* result)
{
    int32_t got = 0;
    *result = m_inner.CR_RipChunk(m_scratch.data(), &got);
    if (*result == CR_FAILURE || *result == CR_RANGE_DONE)
        m_innerDone = true; // what is still missing is beyond the disc
    got = std::clamp<int32_t>(got, 0, static_cast<int32_t>(m_scratch.size()));
    const int64_t dropped = std::min<int64_t>(m_skip, got);
    m_skip -= dropped;
    const int64_t n = std::min(got - dropped, m_remaining);
    std::memcpy(buffer, m_scratch.data() + dropped, static_cast<size_t>(n));
    return n;
}

int32_t ReadOffsetLibrary::CR_GetPercentCompleted()
{
    return m_total > 0 ? static_cast<int32_t>((m_total - m_remaining) * 100 / m_total) : 0;
}

TReadReport ReadOffsetLibrary::CR_GetReadReport()
{
    TReadReport report = m_inner.CR_GetReadReport();
    std::vector<int32_t> asked;
    const auto add = [&](int64_t sample) {
        const auto s = std::clamp(static_cast<int32_t>(floorDiv(sample - m_offset, SamplesPerSector)), m_first, m_last);
        if (asked.empty() || asked.back() < s)
            asked.push_back(s);
    };
    // A sector read off its boundaries spreads over two asked sectors.
    for (int32_t sector : report.UnreadSectors) {
        add(sector * SamplesPerSector);
        add((int64_t(sector) + 1) * SamplesPerSector - 1);
    }
    report.UnreadSectors = asked;
    report.RangeFinished = m_remaining == 0;
    return report;
}
