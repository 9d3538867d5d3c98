#include "support/DriveFaults.h"

namespace {
constexpr long SectorBytes = 2352;
} // namespace

void DriveFaults::Add(Kind kind, int32_t first, int32_t count, int tries)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    for (int32_t s = first; s < first + count; ++s)
        m_faults[s] = {kind, tries};
}

int32_t DriveFaults::firstFaulty(int32_t first, long count, Kind kind) const
{
    for (auto it = m_faults.lower_bound(first); it != m_faults.end() && it->first < first + count; ++it)
        if (it->second.kind == kind && it->second.triesLeft != 0)
            return it->first;
    return -1;
}

void DriveFaults::spendTries(int32_t first, long count)
{
    for (auto it = m_faults.lower_bound(first); it != m_faults.end() && it->first < first + count; ++it)
        if (it->second.triesLeft > 0)
            --it->second.triesLeft;
}

long DriveFaults::ReadAudio(void* buffer, int32_t first, long count, const Read& drive)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    ++m_reads;
    const bool fails = firstFaulty(first, count, Kind::FailRead) >= 0;
    const int32_t stop = firstFaulty(first, count, Kind::ShortRead);
    auto* bytes = static_cast<uint8_t*>(buffer);
    long read = fails ? -1 : drive(buffer, first, count);
    if (read > 0 && stop >= 0)
        read = qMin<long>(read, stop - first);
    if (read > 0 && bytes)
        changeBytes(bytes, first, read);
    spendTries(first, count);
    return read;
}

void DriveFaults::changeBytes(uint8_t* buffer, int32_t first, long count)
{
    for (long i = 0; i < count; ++i) {
        const auto it = m_faults.find(first + static_cast<int32_t>(i));
        if (it == m_faults.end() || it->second.triesLeft == 0)
            continue;
        const Kind kind = it->second.kind;
        if (kind != Kind::SameWrongBytes && kind != Kind::NewWrongBytes)
            continue;
        const uint32_t salt = kind == Kind::NewWrongBytes ? m_reads : 0;
        uint8_t* sector = buffer + i * SectorBytes;
        for (long b = 0; b < SectorBytes; b += 7)
            sector[b] ^= static_cast<uint8_t>(0x5a + salt + static_cast<uint32_t>(b));
    }
}
