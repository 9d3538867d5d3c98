#pragma once
#include "platform/IEncoderLibrary.h"
#include <map>
#include <memory>
#include <mutex>

// The encoder library over libmp3lame. Each stream is one LAME encoder,
// configured from the configuration record and known by its handle. Streams
// may be used on different threads at once, each stream by one thread.
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
    int OpenStreams() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return static_cast<int>(m_streams.size());
    }

private:
    class Stream;
    Stream* find(uint32_t handle) const;

    // Guards the streams and LAME's set-up, whose shared tables are filled on first use.
    mutable std::mutex m_mutex;
    std::map<uint32_t, std::unique_ptr<Stream>> m_streams;
    uint32_t m_nextHandle = 1;
};
