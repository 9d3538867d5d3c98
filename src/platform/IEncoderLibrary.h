#pragma once
#include <cstdint>

// Result codes of the encoder library.
constexpr uint32_t BE_ERR_SUCCESSFUL = 0;
constexpr uint32_t BE_ERR_INVALID_FORMAT = 1;
constexpr uint32_t BE_ERR_INVALID_FORMAT_PARAMETERS = 2;
constexpr uint32_t BE_ERR_NO_MORE_HANDLES = 3;
constexpr uint32_t BE_ERR_INVALID_HANDLE = 4;
constexpr uint32_t BE_ERR_BUFFER_TOO_SMALL = 5;

// Layout of the configuration record: 32-bit little-endian fields, then
// reserved zero bytes up to Size.
namespace BeConfig {
constexpr int Size = 331;
constexpr uint32_t KindLame = 256;
constexpr int Kind = 0, Version = 4, StructSize = 8, SampleRate = 12, OutSampleRate = 16, Mode = 20,
              Bitrate = 24, MaxBitrate = 28, Quality = 32, MpegVersion = 36, PsyModel = 40, Emphasis = 44,
              Private = 48, CRC = 52, Copyright = 56, Original = 60, WriteVBRHeader = 64, EnableVBR = 68,
              VBRQuality = 72, Reserved = 76;
// The sample rates the encoder takes (those of MPEG-1, 2 and 2.5); LAME
// aborts the program on some others.
constexpr uint32_t SampleRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
constexpr bool AcceptsSampleRate(uint32_t rate)
{
    for (uint32_t accepted : SampleRates)
        if (rate == accepted)
            return true;
    return false;
}
} // namespace BeConfig

// The version record: DLL major and minor, then the encoder's major and minor
// version, then bytes of the library's own.
constexpr int BeVersionSize = 268;

// The MP3 encoder library. `config` points to the 331-byte configuration
// record; `version` to the 268-byte version record. 0 is success.
class IEncoderLibrary {
public:
    virtual ~IEncoderLibrary() = default;
    virtual uint32_t beInitStream(const uint8_t* config, uint32_t* samplesPerChunk,
                                  uint32_t* outputBufferSize, uint32_t* streamHandle) = 0;
    virtual uint32_t beEncodeChunk(uint32_t streamHandle, uint32_t samples, const int16_t* pcm,
                                   uint8_t* output, uint32_t* outputLength) = 0;
    virtual uint32_t beDeinitStream(uint32_t streamHandle, uint8_t* output, uint32_t* outputLength) = 0;
    // After beDeinitStream: the final VBR header frame, which the caller writes
    // over the first frame of the stream's data (the placeholder). Length 0
    // when the stream was opened without a VBR header.
    virtual uint32_t beInfoTag(uint32_t streamHandle, uint8_t* output, uint32_t* outputLength) = 0;
    virtual uint32_t beCloseStream(uint32_t streamHandle) = 0;
    virtual void beVersion(uint8_t* version) = 0;
};
