#include "encode/PcmBudget.h"
#include <algorithm>

PcmBudget::PcmBudget(int64_t bytes) : m_limit(bytes) {}

bool PcmBudget::Take(int64_t bytes)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_aborted || m_used == 0 || m_used + bytes <= m_limit; });
    if (m_aborted)
        return false;
    m_used += bytes;
    m_peak = std::max(m_peak, m_used);
    return true;
}

void PcmBudget::Give(int64_t bytes)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_used = std::max<int64_t>(0, m_used - bytes);
    }
    m_changed.notify_all();
}

void PcmBudget::Abort()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_aborted = true;
    }
    m_changed.notify_all();
}

int64_t PcmBudget::InUse() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_used;
}

int64_t PcmBudget::Peak() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_peak;
}
