#pragma once
#include "encode/ITrackEncoder.h"
#include "platform/FlacEncoder.h"
#include <vector>

// A track's FLAC file. PCM may come cut inside a sample frame: the part
// frame waits for the next bytes.
class FlacTrackEncoder : public ITrackEncoder {
public:
    FlacTrackEncoder(RipOutput& output, int channels, int sampleRate, int level, uint64_t expectedFrames);

    void Consume(const uint8_t* pcm, int bytes) override;
    void Finish() override;

private:
    FlacEncoder m_encoder;
    int m_frameBytes;
    std::vector<uint8_t> m_partial;
};
