#pragma once
#include <QByteArray>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

class PcmBudget;

// The PCM of one track on its way from the reader to its encoder, chunk by
// chunk, in order. Queued bytes count against the run's budget.
class TrackPcmStream {
public:
    explicit TrackPcmStream(PcmBudget& budget);
    ~TrackPcmStream();
    TrackPcmStream(const TrackPcmStream&) = delete;
    TrackPcmStream& operator=(const TrackPcmStream&) = delete;

    // Reader side: queues a copy of the bytes, waiting while the budget is
    // spent; false when the run was stopped (nothing queued).
    bool Push(const uint8_t* data, int bytes);
    // Reader side: no more PCM for this track.
    void Close();
    // Encoder side: the next chunk; false at the end of the track.
    bool Pop(QByteArray& chunk);
    // Stop: what is queued is dropped and the track ends here.
    void Drop();

private:
    PcmBudget& m_budget;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<QByteArray> m_chunks;
    bool m_closed = false;
};
