#pragma once
#include <QByteArray>
#include <cstdint>

// The 44-byte header of a PCM WAV file.
class WavHeader {
public:
    static constexpr int Size = 44;
    static constexpr int RiffSizeOffset = 4;
    static constexpr int DataSizeOffset = 40;

    // The RIFF chunk's size field: all that follows it.
    static uint32_t RiffSize(uint32_t dataSize) { return dataSize + Size - 8; }

    static QByteArray Make(int channels, int sampleRate, uint32_t dataSize);
    // The data size announced for the sector range first..last, 75 sectors a second.
    static uint32_t AnnouncedDataSize(int channels, int sampleRate, int32_t first, int32_t last);
};
