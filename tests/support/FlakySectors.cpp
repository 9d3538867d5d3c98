#include "support/FlakySectors.h"
#include <QtGlobal>

namespace {
constexpr long SectorBytes = 2352;
} // namespace

void FlakySectors::Add(Kind kind, int32_t first, int32_t count, const std::set<int>& reads)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    m_faults.push_back({kind, first, count, reads});
}

bool FlakySectors::hits(const Fault& fault, int32_t first, long count) const
{
    return fault.reads.count(m_read) > 0 && fault.first < first + count && first < fault.first + fault.count;
}

long FlakySectors::ReadAudio(void* buffer, int32_t first, long count, const Read& drive)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    for (const Fault& f : m_faults)
        if (f.kind == Kind::FailRead && hits(f, first, count))
            return -1;
    const long read = drive(buffer, first, count);
    auto* bytes = static_cast<uint8_t*>(buffer);
    for (const Fault& f : m_faults) {
        if (f.kind == Kind::FailRead || read <= 0 || !bytes || !hits(f, first, read))
            continue;
        const auto salt = static_cast<uint8_t>(f.kind == Kind::WrongBytes ? m_read.load() : 0);
        const int32_t from = qMax(first, f.first);
        const int32_t to = qMin<int32_t>(first + static_cast<int32_t>(read), f.first + f.count);
        for (long b = (from - first) * SectorBytes; b < (to - first) * SectorBytes; b += 5)
            bytes[b] ^= static_cast<uint8_t>(0x3c + salt);
    }
    return read;
}
