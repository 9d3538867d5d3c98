#include "encode/TrackPcmStream.h"
#include "encode/PcmBudget.h"

TrackPcmStream::TrackPcmStream(PcmBudget& budget) : m_budget(budget) {}

TrackPcmStream::~TrackPcmStream()
{
    Drop();
}

bool TrackPcmStream::Push(const uint8_t* data, int bytes)
{
    if (bytes <= 0)
        return true;
    if (!m_budget.Take(bytes))
        return false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_closed) {
            m_budget.Give(bytes);
            return false;
        }
        m_chunks.emplace_back(reinterpret_cast<const char*>(data), bytes);
    }
    m_ready.notify_one();
    return true;
}

void TrackPcmStream::Close()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closed = true;
    }
    m_ready.notify_all();
}

bool TrackPcmStream::Pop(QByteArray& chunk)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_ready.wait(lock, [&] { return m_closed || !m_chunks.empty(); });
    if (m_chunks.empty())
        return false;
    chunk = std::move(m_chunks.front());
    m_chunks.pop_front();
    lock.unlock();
    m_budget.Give(chunk.size());
    return true;
}

void TrackPcmStream::Drop()
{
    int64_t dropped = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const QByteArray& c : m_chunks)
            dropped += c.size();
        m_chunks.clear();
        m_closed = true;
    }
    m_budget.Give(dropped);
    m_ready.notify_all();
}
