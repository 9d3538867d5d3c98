#pragma once
#include <cstdint>

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
    virtual uint32_t beCloseStream(uint32_t streamHandle) = 0;
    virtual void beVersion(uint8_t* version) = 0;
};
