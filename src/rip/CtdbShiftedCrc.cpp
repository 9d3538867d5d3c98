#include "rip/CtdbShiftedCrc.h"
#include <algorithm>

namespace {
void keep(std::vector<uint8_t>& edge, int64_t edgeStart, int64_t at, const uint8_t* pcm, int64_t bytes)
{
    const int64_t from = std::max(at, edgeStart);
    const int64_t to = std::min(at + bytes, edgeStart + static_cast<int64_t>(edge.size()));
    if (from < to)
        std::copy(pcm + (from - at), pcm + (to - at), edge.begin() + (from - edgeStart));
}
} // namespace

// The window at shift s runs from FirstByte(−s) to EndByte(−s) (CtdbWindow
// counts its offset the other way).
CtdbShiftedCrc::CtdbShiftedCrc(int64_t discSamples)
{
    const CtdbWindow window(discSamples);
    m_headStart = window.FirstByte(Range);
    m_tailStart = window.EndByte(Range);
    if (window.Rows() > 0 && m_tailStart >= m_headStart + 2 * EdgeBytes) {
        m_head.assign(static_cast<size_t>(2 * EdgeBytes), 0);
        m_tail.assign(static_cast<size_t>(2 * EdgeBytes), 0);
    }
}

void CtdbShiftedCrc::Add(int64_t at, const uint8_t* pcm, int64_t bytes)
{
    if (m_head.empty())
        return;
    keep(m_head, m_headStart, at, pcm, bytes);
    keep(m_tail, m_tailStart, at, pcm, bytes);
    const int64_t from = std::max(at, m_headStart + 2 * EdgeBytes);
    const int64_t to = std::min(at + bytes, m_tailStart);
    if (from < to)
        m_middle.Add(pcm + (from - at), to - from);
}

// The head at shift s is the bytes from 4·(s + Range) in m_head to its end,
// the tail the first 4·(s + Range) of m_tail.
std::vector<uint32_t> CtdbShiftedCrc::Crcs() const
{
    if (m_head.empty())
        return {};
    const int shifts = 2 * Range + 1;
    std::vector<uint32_t> heads(shifts);
    uint32_t head = 0;
    for (int k = shifts - 1; k >= 0; --k) {
        heads[k] = head;
        if (k > 0) {
            Crc32 sample;
            sample.Add(&m_head[4 * static_cast<size_t>(k - 1)], 4);
            head = Crc32::Combine(sample.Value(), head, 2 * EdgeBytes - 4 * int64_t{k - 1} - 4);
        }
    }
    const int64_t middleBytes = m_tailStart - m_headStart - 2 * EdgeBytes;
    std::vector<uint32_t> crcs(shifts);
    Crc32 tail;
    for (int k = 0; k < shifts; ++k) {
        if (k > 0)
            tail.Add(&m_tail[4 * static_cast<size_t>(k - 1)], 4);
        crcs[k] = Crc32::Combine(Crc32::Combine(heads[k], m_middle.Value(), middleBytes), tail.Value(), 4 * int64_t{k});
    }
    return crcs;
}
