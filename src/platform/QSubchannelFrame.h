#pragma once
#include "platform/IQSubchannel.h"
#include <array>
#include <cstdint>
#include <optional>

// One Q sub-channel frame of 12 bytes: control and ADR, track, index, the
// position in the track, a zero, the absolute position, all in BCD, then the
// CRC over the first ten, inverted.
class QSubchannelFrame {
public:
    static constexpr int Bytes = 12;
    static constexpr int RawPwBytes = 96;
    using Frame = std::array<uint8_t, Bytes>;

    // The position of a frame of ADR 1 that passes its CRC; nothing otherwise.
    static std::optional<QPosition> Position(const uint8_t* frame);
    // The Q frame held in raw P-W sub-channel data: one bit (the second
    // highest) of each of its 96 bytes.
    static Frame FromRawPw(const uint8_t* pw);
};
