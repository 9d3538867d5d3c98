#include "rip/RunPace.h"
#include "encode/ParallelTrackEncoder.h"
#include <algorithm>

void RunPace::Begin(int tickedRows, int64_t bytes)
{
    m_rippedCount = 0;
    m_readRows = 0;
    m_trackPercent = 0;
    m_tickedRows = tickedRows;
    m_runBytes = bytes;
    m_encodedAtLastRead = 0;
}

void RunPace::SetPool(ParallelTrackEncoder* pool)
{
    std::lock_guard<std::mutex> lock(m_poolMutex);
    m_pool = pool;
}

void RunPace::RowRead()
{
    m_trackPercent = 0;
    ++m_readRows;
}

void RunPace::AllRead()
{
    std::lock_guard<std::mutex> lock(m_poolMutex);
    if (m_pool)
        m_encodedAtLastRead = m_pool->EncodedBytes();
}

int RunPace::WorkDone() const
{
    std::lock_guard<std::mutex> lock(m_poolMutex);
    if (!m_pool || m_runBytes <= 0)
        return m_trackPercent + 100 * m_rippedCount;
    const int64_t rows = m_tickedRows;
    const int64_t reading = 100 * int64_t(m_readRows) + m_trackPercent;
    const int64_t encoding = 100 * rows * m_pool->EncodedBytes() / m_runBytes;
    return static_cast<int>(std::min(100 * rows, (reading + encoding) / 2));
}

int RunPace::TrackPercent() const
{
    std::lock_guard<std::mutex> lock(m_poolMutex);
    if (!m_pool || m_readRows < m_tickedRows)
        return m_trackPercent;
    const int64_t left = m_runBytes - m_encodedAtLastRead;
    if (left <= 0)
        return 100;
    const int64_t percent = 100 * (m_pool->EncodedBytes() - m_encodedAtLastRead) / left;
    return static_cast<int>(std::clamp<int64_t>(percent, 0, 100));
}

int RunPace::SecondsLeft(int64_t elapsedMs) const
{
    const int64_t done = WorkDone();
    if (done <= 0)
        return -1;
    return static_cast<int>((WorkTotal() - done) * elapsedMs / done / 1000);
}
