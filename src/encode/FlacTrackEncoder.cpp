#include "encode/FlacTrackEncoder.h"
#include "encode/RipOutput.h"
#include <algorithm>

FlacTrackEncoder::FlacTrackEncoder(RipOutput& output, int channels, int sampleRate, int level,
                                   uint64_t expectedFrames)
    : m_encoder(output, channels, sampleRate, level, expectedFrames), m_frameBytes(2 * channels)
{
}

void FlacTrackEncoder::Consume(const uint8_t* pcm, int bytes)
{
    if (!m_partial.empty()) {
        const int missing = std::min(bytes, m_frameBytes - static_cast<int>(m_partial.size()));
        m_partial.insert(m_partial.end(), pcm, pcm + missing);
        pcm += missing;
        bytes -= missing;
        if (static_cast<int>(m_partial.size()) < m_frameBytes)
            return;
        m_encoder.Encode(m_partial.data(), 1);
        m_partial.clear();
    }
    const int frames = bytes / m_frameBytes;
    m_encoder.Encode(pcm, frames);
    m_partial.assign(pcm + frames * m_frameBytes, pcm + bytes);
}

void FlacTrackEncoder::Finish()
{
    // A cut last frame is completed with silence, as in an MP3 file.
    if (!m_partial.empty()) {
        m_partial.resize(static_cast<size_t>(m_frameBytes), 0);
        m_encoder.Encode(m_partial.data(), 1);
    }
    m_encoder.Finish();
}
