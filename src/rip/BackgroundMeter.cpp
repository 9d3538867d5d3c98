#include "rip/BackgroundMeter.h"
#include "platform/Ebur128Meter.h"

namespace {
// About 4 MB of CD audio in the rip loop's chunks.
constexpr size_t MaxWaiting = 64;
} // namespace

BackgroundMeter::BackgroundMeter() : m_meter(std::make_shared<Ebur128Meter>()), m_thread([this] { run(); }) {}

BackgroundMeter::~BackgroundMeter()
{
    stop();
}

void BackgroundMeter::Add(const uint8_t* pcm, int64_t bytes)
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_changed.wait(lock, [this] { return m_chunks.size() < MaxWaiting; });
    std::vector<uint8_t> chunk;
    if (!m_spare.empty()) {
        chunk = std::move(m_spare.back());
        m_spare.pop_back();
    }
    chunk.assign(pcm, pcm + bytes);
    m_chunks.push_back(std::move(chunk));
    m_changed.notify_all();
}

std::shared_ptr<const Ebur128Meter> BackgroundMeter::Finish()
{
    stop();
    if (m_error)
        std::rethrow_exception(m_error);
    return m_meter;
}

void BackgroundMeter::stop()
{
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_closed = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void BackgroundMeter::run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_changed.wait(lock, [this] { return m_closed || !m_chunks.empty(); });
        if (m_chunks.empty())
            return;
        std::vector<uint8_t> chunk = std::move(m_chunks.front());
        m_chunks.pop_front();
        m_changed.notify_all();
        lock.unlock();
        try {
            if (!m_error)
                m_meter->Add(chunk.data(), static_cast<int64_t>(chunk.size()));
        } catch (...) {
            m_error = std::current_exception();
        }
        lock.lock();
        m_spare.push_back(std::move(chunk));
    }
}
