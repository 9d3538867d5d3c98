#pragma once
#include "encode/ITrackEncoder.h"
#include "encode/PcmBudget.h"
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class RipOutput;
class TrackPcmStream;

// Encodes the tracks of a run on encoder threads while the reader goes on
// with the next ones. Each track is encoded whole by one thread, by the
// encoder made for it, exactly as a one-thread rip encodes it; the tracks
// are handed back in the order they were begun, their files unnamed: the
// reader tags and names them.
class ParallelTrackEncoder {
public:
    explicit ParallelTrackEncoder(int encoders, int64_t budgetBytes = PcmBudget::DefaultBytes);
    // Drops the PCM still queued (the run failed) and waits for the encoder
    // threads; a run that ends normally takes every track first.
    ~ParallelTrackEncoder();
    ParallelTrackEncoder(const ParallelTrackEncoder&) = delete;
    ParallelTrackEncoder& operator=(const ParallelTrackEncoder&) = delete;

    // One encoder per core: the reader mostly waits for the drive.
    static int DefaultEncoders();

    // Reader side: a new track whose encoded data goes into output, through
    // the encoder that makeEncoder gives. The PCM of the track is pushed into
    // the stream returned, then the stream closed.
    TrackPcmStream& BeginTrack(std::unique_ptr<RipOutput> output, TrackEncoderFactory makeEncoder);
    int TracksBegun() const;
    // The oldest track not yet taken, once its file is complete and closed:
    // true with its error (null on success) and, in file, its output still
    // unnamed (dropped when file is null). False when it is still being
    // encoded and wait is false, or when no track is left.
    bool TakeFinished(bool wait, std::exception_ptr& error, std::unique_ptr<RipOutput>* file = nullptr);

    int64_t EncodedBytes() const { return m_encodedBytes; }
    int64_t PeakQueuedBytes() const { return m_budget.Peak(); }

private:
    struct Job;
    void encoderLoop();
    Job* nextJob();
    void encode(Job& job);
    void finish(Job& job, std::exception_ptr error);
    void abandon();

    PcmBudget m_budget;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::unique_ptr<Job>> m_jobs; // begun, not yet taken
    std::deque<Job*> m_waiting;              // begun, not yet given to an encoder
    int m_begun = 0;
    bool m_shutdown = false;
    std::atomic<int64_t> m_encodedBytes{0};
    std::vector<std::thread> m_threads;
};
