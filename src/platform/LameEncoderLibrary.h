#pragma once
#include "platform/IEncoderLibrary.h"
#include <map>
#include <memory>

// The encoder library over libmp3lame. Each stream is one LAME encoder,
// configured from the configuration record and known by its handle.
class LameEncoderLibrary : public IEncoderLibrary {
public:
    // Our own interface version, in the first two bytes of the version record.
    static constexpr uint8_t DllMajorVersion = 1;
    static constexpr uint8_t DllMinorVersion = 0;

    LameEncoderLibrary();
    ~LameEncoderLibrary() override;
    LameEncoderLibrary(const LameEncoderLibrary&) = delete;
    LameEncoderLibrary& operator=(const LameEncoderLibrary&) = delete;

    uint32_t beInitStream(const uint8_t* config, uint32_t* samplesPerChunk, uint32_t* outputBufferSize,
                          uint32_t* streamHandle) override;
    uint32_t beEncodeChunk(uint32_t streamHandle, uint32_t samples, const int16_t* pcm, uint8_t* output,
                           uint32_t* outputLength) override;
    uint32_t beDeinitStream(uint32_t streamHandle, uint8_t* output, uint32_t* outputLength) override;
    uint32_t beInfoTag(uint32_t streamHandle, uint8_t* output, uint32_t* outputLength) override;
    uint32_t beCloseStream(uint32_t streamHandle) override;
    void beVersion(uint8_t* version) override;

    // Streams open now (not yet closed).
    int OpenStreams() const { return static_cast<int>(m_streams.size()); }

private:
    class Stream;
    Stream* find(uint32_t handle) const;

    std::map<uint32_t, std::unique_ptr<Stream>> m_streams;
    uint32_t m_nextHandle = 1;
};
