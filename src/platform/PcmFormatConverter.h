#pragma once
#include "platform/CdRipTypes.h"
#include <cstdint>

// Turns CD audio (44100 Hz stereo, 16-bit) into an output format: mono is
// the average of left and right, 22050 and 11025 Hz the average of 2 or 4
// consecutive frames. Averages round towards minus infinity. The result is
// always 16-bit little-endian.
class PcmFormatConverter {
public:
    static constexpr int SectorFrames = 588;

    static int32_t BytesPerSector(TOutputFormat format);
    // Converts one sector of samples (host order, L R interleaved) into out,
    // which has room for BytesPerSector(format); returns the bytes written.
    static int32_t ConvertSector(const int16_t* samples, TOutputFormat format, uint8_t* out);
};
