#pragma once
#include "encode/WholeFrameEncoder.h"
#include "platform/IEncodedOutput.h"

// A track's file written by one of the platform's encoders (FlacEncoder,
// OpusEncoder, VorbisEncoder), each given its own settings after the shape.
template <class Encoder>
class LibraryTrackEncoder : public WholeFrameEncoder {
public:
    template <class... Settings>
    LibraryTrackEncoder(IEncodedOutput& output, int channels, int sampleRate, Settings... settings)
        : WholeFrameEncoder(channels), m_encoder(output, channels, sampleRate, settings...)
    {
    }

private:
    void encodeFrames(const uint8_t* pcm, int frames) override { m_encoder.Encode(pcm, frames); }
    void finishStream() override { m_encoder.Finish(); }
    Encoder m_encoder;
};
