#include "encode/WholeFrameEncoder.h"
#include <algorithm>

void WholeFrameEncoder::Consume(const uint8_t* pcm, int bytes)
{
    if (!m_partial.empty()) {
        const int missing = std::min(bytes, m_frameBytes - static_cast<int>(m_partial.size()));
        m_partial.insert(m_partial.end(), pcm, pcm + missing);
        pcm += missing;
        bytes -= missing;
        if (static_cast<int>(m_partial.size()) < m_frameBytes)
            return;
        encodeFrames(m_partial.data(), 1);
        m_partial.clear();
    }
    const int frames = bytes / m_frameBytes;
    encodeFrames(pcm, frames);
    m_partial.assign(pcm + frames * m_frameBytes, pcm + bytes);
}

void WholeFrameEncoder::Finish()
{
    if (!m_partial.empty()) {
        m_partial.resize(static_cast<size_t>(m_frameBytes), 0);
        encodeFrames(m_partial.data(), 1);
    }
    finishStream();
}
