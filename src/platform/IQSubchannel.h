#pragma once
#include <cstdint>
#include <optional>

// Where the Q sub-channel of one sector says the sector lies.
struct QPosition {
    int track = 0;      // the lead-out is 0xAA
    int index = 0;      // 0 in a pre-gap
    int32_t sector = 0; // the absolute address the frame carries, counted as libcdio counts
};

// A drive's Q sub-channel, one sector at a time.
class IQSubchannel {
public:
    virtual ~IQSubchannel() = default;
    // Nothing when the sector cannot be read or its frame gives no position
    // (not ADR 1) or fails its CRC.
    virtual std::optional<QPosition> Read(int32_t sector) = 0;
};
