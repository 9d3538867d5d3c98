#pragma once
#include "encode/ITrackEncoder.h"
#include "encode/TLameCoder.h"
#include <memory>
#include <vector>

class Mp3BlockEncoder;

// A track's MP3 file, encoded by a coder of its own with the settings given:
// whole blocks as the PCM comes, then the padded last block, the flush and
// the final header frame.
class Mp3TrackEncoder : public ITrackEncoder {
public:
    Mp3TrackEncoder(const TLameCoder& settings, RipOutput& output);
    ~Mp3TrackEncoder() override;

    void Consume(const uint8_t* pcm, int bytes) override;
    void Finish() override;

private:
    TLameCoder m_coder;
    std::unique_ptr<Mp3BlockEncoder> m_encoder;
    std::vector<uint8_t> m_buffer;
};
