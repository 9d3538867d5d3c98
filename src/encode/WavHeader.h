#pragma once
#include <QByteArray>
#include <cstdint>

// The header of a PCM WAV file: 44 bytes, or 68 in the extensible form that
// samples whose bits do not fill their bytes need.
class WavHeader {
public:
    static constexpr int Size = 44;
    static constexpr int RiffSizeOffset = 4;

    // The RIFF chunk's size field: all that follows it.
    static uint32_t RiffSize(uint32_t dataSize, int headerSize = Size) { return dataSize + uint32_t(headerSize) - 8; }
    // The data size field, the header's last.
    static int DataSizeOffset(int headerSize) { return headerSize - 4; }

    static QByteArray Make(int channels, int sampleRate, uint32_t dataSize, int bits = 16);
    // The data size announced for the sector range first..last, 75 sectors a second.
    static uint32_t AnnouncedDataSize(int channels, int sampleRate, int32_t first, int32_t last);
};
