#include "encode/ParallelTrackEncoder.h"
#include "encode/RipOutput.h"
#include "encode/TrackPcmStream.h"
#include <QThread>
#include <algorithm>

struct ParallelTrackEncoder::Job {
    Job(PcmBudget& budget, std::unique_ptr<RipOutput> out, TrackEncoderFactory make)
        : stream(budget), output(std::move(out)), makeEncoder(std::move(make))
    {
    }
    TrackPcmStream stream;
    std::unique_ptr<RipOutput> output;
    TrackEncoderFactory makeEncoder;
    bool finished = false;
    std::exception_ptr error;
};

ParallelTrackEncoder::ParallelTrackEncoder(int encoders, int64_t budgetBytes) : m_budget(budgetBytes)
{
    for (int i = 0; i < std::max(1, encoders); ++i)
        m_threads.emplace_back([this] { encoderLoop(); });
}

ParallelTrackEncoder::~ParallelTrackEncoder()
{
    abandon();
    for (std::thread& t : m_threads)
        t.join();
}

int ParallelTrackEncoder::DefaultEncoders()
{
    return std::max(1, QThread::idealThreadCount());
}

TrackPcmStream& ParallelTrackEncoder::BeginTrack(std::unique_ptr<RipOutput> output, TrackEncoderFactory makeEncoder)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_jobs.push_back(std::make_unique<Job>(m_budget, std::move(output), std::move(makeEncoder)));
    Job* job = m_jobs.back().get();
    ++m_begun;
    m_waiting.push_back(job);
    m_changed.notify_all();
    return job->stream;
}

int ParallelTrackEncoder::TracksBegun() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_begun;
}

bool ParallelTrackEncoder::TakeFinished(bool wait, std::exception_ptr& error, std::unique_ptr<RipOutput>* file)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_jobs.empty())
        return false;
    if (wait)
        m_changed.wait(lock, [&] { return m_jobs.front()->finished; });
    if (!m_jobs.front()->finished)
        return false;
    error = m_jobs.front()->error;
    if (file && !error)
        *file = std::move(m_jobs.front()->output);
    m_jobs.pop_front();
    return true;
}

void ParallelTrackEncoder::abandon()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_shutdown = true;
        m_budget.Abort();
        for (const auto& job : m_jobs)
            job->stream.Drop();
    }
    m_changed.notify_all();
}

void ParallelTrackEncoder::encoderLoop()
{
    while (Job* job = nextJob())
        encode(*job);
}

ParallelTrackEncoder::Job* ParallelTrackEncoder::nextJob()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_shutdown || !m_waiting.empty(); });
    if (m_shutdown)
        return nullptr;
    Job* job = m_waiting.front();
    m_waiting.pop_front();
    return job;
}

void ParallelTrackEncoder::encode(Job& job)
{
    std::unique_ptr<ITrackEncoder> encoder;
    try {
        encoder = job.makeEncoder(*job.output);
        QByteArray chunk;
        while (job.stream.Pop(chunk)) {
            encoder->Consume(reinterpret_cast<const uint8_t*>(chunk.constData()), static_cast<int>(chunk.size()));
            m_encodedBytes += chunk.size();
        }
        encoder->Finish();
        encoder.reset();
        job.output->Close();
        finish(job, nullptr);
    } catch (...) {
        // The stream closes without writing more; the file is dropped.
        job.stream.Drop();
        encoder.reset();
        job.output->Close();
        finish(job, std::current_exception());
    }
}

void ParallelTrackEncoder::finish(Job& job, std::exception_ptr error)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        job.error = error;
        job.finished = true;
    }
    m_changed.notify_all();
}
