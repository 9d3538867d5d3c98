#pragma once
#include <cstdint>
#include <optional>

// The 4-byte header that starts every MPEG audio frame (layers I to III,
// MPEG-1, 2 and 2.5), read as far as finding frames needs: how long the
// frame is and what must stay the same from one frame to the next.
class Mp3FrameHeader {
public:
    // Nothing when the 4 bytes are not a valid header.
    static std::optional<Mp3FrameHeader> Read(const uint8_t* bytes);

    // Bytes in the frame, header included; 0 for a free-format frame, whose
    // header does not say.
    int Length() const { return m_length; }
    bool FreeFormat() const { return m_length == 0; }
    // Same version, layer and sample rate: two frames of one stream.
    bool SameStream(const Mp3FrameHeader& other) const;

private:
    uint32_t m_streamBits = 0;
    int m_length = 0;
};
