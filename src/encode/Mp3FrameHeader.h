#pragma once
#include <cstdint>
#include <optional>

// The 4-byte header that starts every MPEG audio frame (layers I to III,
// MPEG-1, 2 and 2.5), read as far as finding frames needs: how long the
// frame is and what must stay the same from one frame to the next.
class Mp3FrameHeader {
public:
    // Nothing when the bytes are not a header whose frame length can be known
    // (free-format frames cannot be told from noise without a decoder).
    static std::optional<Mp3FrameHeader> Read(const uint8_t* bytes);

    int Length() const { return m_length; }
    // Same version, layer and sample rate: two frames of one stream.
    bool SameStream(const Mp3FrameHeader& other) const;

private:
    uint32_t m_streamBits = 0;
    int m_length = 0;
};
