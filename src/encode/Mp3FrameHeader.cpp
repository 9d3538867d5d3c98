#include "encode/Mp3FrameHeader.h"

namespace {
// Kilobits a second by [MPEG-1 or not][layer - 1][index]; index 0 is free format, 15 is invalid.
constexpr int Bitrates[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
};
constexpr int Mpeg1Rates[3] = {44100, 48000, 32000};
// Sync word, version, layer and sample rate.
constexpr uint32_t StreamMask = 0xFFFE0C00;
} // namespace

std::optional<Mp3FrameHeader> Mp3FrameHeader::Read(const uint8_t* b)
{
    const uint32_t h = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    const int version = (h >> 19) & 3; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    const int layer = 4 - int((h >> 17) & 3);
    const int bitrateIndex = (h >> 12) & 15, rateIndex = (h >> 10) & 3;
    if ((h >> 21) != 0x7FF || version == 1 || layer == 4 || bitrateIndex == 15 || rateIndex == 3)
        return std::nullopt;
    const bool mpeg1 = version == 3;
    const int rate = Mpeg1Rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    const int bitrate = Bitrates[mpeg1 ? 0 : 1][layer - 1][bitrateIndex] * 1000;
    const int padding = (h >> 9) & 1;
    Mp3FrameHeader header;
    header.m_streamBits = h & StreamMask;
    // Layer I counts in 4-byte slots; layer III outside MPEG-1 has half the samples a frame.
    if (bitrate == 0)
        header.m_length = 0;
    else if (layer == 1)
        header.m_length = (12 * bitrate / rate + padding) * 4;
    else
        header.m_length = (layer == 3 && !mpeg1 ? 72 : 144) * bitrate / rate + padding;
    return header;
}

bool Mp3FrameHeader::SameStream(const Mp3FrameHeader& other) const
{
    return m_streamBits == other.m_streamBits;
}
