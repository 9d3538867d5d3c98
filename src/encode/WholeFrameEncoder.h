#pragma once
#include "encode/ITrackEncoder.h"
#include <vector>

// A track's encoder that takes whole sample frames. PCM may come cut inside
// a frame: the part frame waits for the next bytes, and a cut last frame is
// completed with silence, as in an MP3 file.
class WholeFrameEncoder : public ITrackEncoder {
public:
    explicit WholeFrameEncoder(int channels) : m_frameBytes(2 * channels) {}

    void Consume(const uint8_t* pcm, int bytes) final;
    void Finish() final;

protected:
    // Whole frames of little-endian 16-bit interleaved PCM.
    virtual void encodeFrames(const uint8_t* pcm, int frames) = 0;
    virtual void finishStream() = 0;

private:
    int m_frameBytes;
    std::vector<uint8_t> m_partial;
};
