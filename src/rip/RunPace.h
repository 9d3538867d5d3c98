#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>

class ParallelTrackEncoder;

// How far a rip run is, for a window or a terminal to show while it runs:
// written by the run's thread, read from any thread.
class RunPace {
public:
    // A new run of ticked rows holding bytes of audio in all.
    void Begin(int tickedRows, int64_t bytes);
    // The encoder pool while it works (null once gone).
    void SetPool(ParallelTrackEncoder* pool);
    void SetTrackPercent(int percent) { m_trackPercent = percent; }
    // A row read to its end, or given up.
    void RowRead();
    // A row completed: counted as ripped.
    void RowRipped() { ++m_rippedCount; }
    // Every row is read: what the encoders have done by now.
    void AllRead();
    void ResetRipped() { m_rippedCount = 0; }

    int RippedCount() const { return m_rippedCount; }
    int TickedRows() const { return m_tickedRows; }
    // Percentage read of the track being read; once every track is read,
    // how far the encoders are through what was left to encode.
    int TrackPercent() const;
    // Work done, 100 per ticked row: the track being read plus the rows
    // completed; with encoders, half reading and half encoding.
    int WorkDone() const;
    int WorkTotal() const { return 100 * m_tickedRows; }
    // Seconds still needed at the pace of elapsedMs; -1 before any work is done.
    int SecondsLeft(int64_t elapsedMs) const;

private:
    std::atomic<int> m_rippedCount{0};
    std::atomic<int> m_trackPercent{0};
    std::atomic<int> m_readRows{0};
    std::atomic<int> m_tickedRows{0};
    std::atomic<int64_t> m_runBytes{0};
    std::atomic<int64_t> m_encodedAtLastRead{0};
    mutable std::mutex m_poolMutex;
    ParallelTrackEncoder* m_pool = nullptr;
};
