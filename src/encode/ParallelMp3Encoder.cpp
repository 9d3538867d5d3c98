#include "encode/ParallelMp3Encoder.h"
#include "encode/Mp3BlockEncoder.h"
#include "encode/RipOutput.h"
#include "encode/TrackPcmStream.h"
#include <QThread>
#include <algorithm>
#include <cstring>

struct ParallelMp3Encoder::Job {
    Job(PcmBudget& budget, std::unique_ptr<RipOutput> out) : stream(budget), output(std::move(out)) {}
    TrackPcmStream stream;
    std::unique_ptr<RipOutput> output;
    bool finished = false;
    std::exception_ptr error;
};

ParallelMp3Encoder::ParallelMp3Encoder(const TLameCoder& settings, int encoders, int64_t budgetBytes)
    : m_settings(settings.Library()), m_budget(budgetBytes)
{
    m_settings.Assign(settings);
    for (int i = 0; i < std::max(1, encoders); ++i)
        m_threads.emplace_back([this] { encoderLoop(); });
}

ParallelMp3Encoder::~ParallelMp3Encoder()
{
    abandon();
    for (std::thread& t : m_threads)
        t.join();
}

int ParallelMp3Encoder::DefaultEncoders()
{
    return std::max(1, QThread::idealThreadCount());
}

TrackPcmStream& ParallelMp3Encoder::BeginTrack(std::unique_ptr<RipOutput> output)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_jobs.push_back(std::make_unique<Job>(m_budget, std::move(output)));
    Job* job = m_jobs.back().get();
    ++m_begun;
    m_waiting.push_back(job);
    m_changed.notify_all();
    return job->stream;
}

int ParallelMp3Encoder::TracksBegun() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_begun;
}

bool ParallelMp3Encoder::TakeFinished(bool wait, std::exception_ptr& error)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_jobs.empty())
        return false;
    if (wait)
        m_changed.wait(lock, [&] { return m_jobs.front()->finished; });
    if (!m_jobs.front()->finished)
        return false;
    error = m_jobs.front()->error;
    m_jobs.pop_front();
    return true;
}

void ParallelMp3Encoder::abandon()
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

void ParallelMp3Encoder::encoderLoop()
{
    while (Job* job = nextJob())
        encode(*job);
}

ParallelMp3Encoder::Job* ParallelMp3Encoder::nextJob()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_shutdown || !m_waiting.empty(); });
    if (m_shutdown)
        return nullptr;
    Job* job = m_waiting.front();
    m_waiting.pop_front();
    return job;
}

// The same steps as a one-thread rip: whole blocks as the PCM comes, then the
// padded last block, the flush and the final header frame.
void ParallelMp3Encoder::encode(Job& job)
{
    TLameCoder coder(m_settings.Library());
    coder.Assign(m_settings);
    std::unique_ptr<Mp3BlockEncoder> encoder;
    std::vector<uint8_t> buffer;
    try {
        encoder = std::make_unique<Mp3BlockEncoder>(coder, *job.output);
        QByteArray chunk;
        while (job.stream.Pop(chunk)) {
            const size_t leftover = static_cast<size_t>(encoder->Leftover());
            buffer.resize(std::max(buffer.size(), leftover + static_cast<size_t>(chunk.size())));
            std::memcpy(buffer.data() + leftover, chunk.constData(), static_cast<size_t>(chunk.size()));
            encoder->Consume(buffer.data(), static_cast<int>(chunk.size()));
            m_encodedBytes += chunk.size();
        }
        encoder->Finish(buffer.data());
        encoder.reset();
        job.output->Commit();
        finish(job, nullptr);
    } catch (...) {
        // The stream closes without writing more; the file is not committed.
        job.stream.Drop();
        encoder.reset();
        job.output->Close();
        finish(job, std::current_exception());
    }
}

void ParallelMp3Encoder::finish(Job& job, std::exception_ptr error)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        job.error = error;
        job.finished = true;
    }
    m_changed.notify_all();
}
