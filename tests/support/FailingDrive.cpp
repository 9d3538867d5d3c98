#include "support/FailingDrive.h"
#include <cstring>

namespace {
constexpr int SectorBytes = 2352;
} // namespace

void FailingDrive::FailSectors(int32_t first, int32_t count)
{
    for (int32_t s = first; s < first + count; ++s)
        m_failing.insert(s);
}

int32_t FailingDrive::CR_OpenRipper(int32_t* bufferSize, int32_t first, int32_t last)
{
    m_first = m_next = first;
    m_last = last;
    return CdioRipLibrary::CR_OpenRipper(bufferSize, first, last);
}

int32_t FailingDrive::CR_RipChunk(uint8_t* buffer, int32_t* bytesRead)
{
    const int32_t result = CdioRipLibrary::CR_RipChunk(buffer, bytesRead);
    const int32_t sectors = *bytesRead / SectorBytes;
    for (int32_t i = 0; i < sectors; ++i)
        if (m_failing.count(m_next + i))
            std::memset(buffer + i * SectorBytes, 0, SectorBytes);
    m_next += sectors;
    return result;
}

TReadReport FailingDrive::CR_GetReadReport()
{
    TReadReport report = CdioRipLibrary::CR_GetReadReport();
    std::set<int32_t> unread(report.UnreadSectors.begin(), report.UnreadSectors.end());
    for (auto it = m_failing.lower_bound(m_first); it != m_failing.end() && *it < m_next && *it <= m_last; ++it)
        unread.insert(*it);
    report.UnreadSectors.assign(unread.begin(), unread.end());
    return report;
}
