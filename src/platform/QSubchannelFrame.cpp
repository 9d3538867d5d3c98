#include "platform/QSubchannelFrame.h"

namespace {
constexpr int AdrPosition = 1;
constexpr int LeadOutTrack = 0xAA;
constexpr int32_t FramesPerSecond = 75;
// Sector 0 lies two seconds into the disc.
constexpr int32_t LeadInFrames = 150;

// CRC-16 with the polynomial x^16 + x^12 + x^5 + 1, from zero.
uint16_t crc16(const uint8_t* bytes, int count)
{
    uint16_t crc = 0;
    for (int i = 0; i < count; ++i) {
        crc ^= static_cast<uint16_t>(bytes[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

// -1 for a byte that is not two decimal digits.
int fromBcd(uint8_t v)
{
    return (v >> 4) > 9 || (v & 0x0F) > 9 ? -1 : (v >> 4) * 10 + (v & 0x0F);
}
} // namespace

std::optional<QPosition> QSubchannelFrame::Position(const uint8_t* frame)
{
    const uint16_t stored = static_cast<uint16_t>(frame[10] << 8 | frame[11]);
    if ((frame[0] & 0x0F) != AdrPosition || static_cast<uint16_t>(~crc16(frame, 10)) != stored)
        return std::nullopt;
    const int track = frame[1] == LeadOutTrack ? LeadOutTrack : fromBcd(frame[1]);
    const int index = fromBcd(frame[2]);
    const int minutes = fromBcd(frame[7]);
    const int seconds = fromBcd(frame[8]);
    const int frames = fromBcd(frame[9]);
    if (track < 0 || index < 0 || minutes < 0 || seconds < 0 || frames < 0)
        return std::nullopt;
    return QPosition{track, index, (minutes * 60 + seconds) * FramesPerSecond + frames - LeadInFrames};
}

QSubchannelFrame::Frame QSubchannelFrame::FromRawPw(const uint8_t* pw)
{
    Frame q{};
    for (int bit = 0; bit < RawPwBytes; ++bit)
        if (pw[bit] & 0x40)
            q[bit / 8] = static_cast<uint8_t>(q[bit / 8] | 0x80 >> bit % 8);
    return q;
}
