#pragma once
#include "platform/IEncoderLibrary.h"
#include <QByteArray>
#include <QList>
#include <cstring>

// An encoder library that records the configuration and every chunk; each
// chunk "encodes" to `bytesPerChunk` bytes of its own index.
class FakeEncoderLibrary : public IEncoderLibrary {
public:
    uint32_t beInitStream(const uint8_t* config, uint32_t* samples, uint32_t* bufferSize, uint32_t* handle) override
    {
        lastConfig = QByteArray(reinterpret_cast<const char*>(config), 331);
        ++inits;
        if (initResult == 0) {
            *samples = samplesPerChunk;
            *bufferSize = outputBufferSize;
            *handle = 7;
        }
        return initResult;
    }
    uint32_t beEncodeChunk(uint32_t, uint32_t samples, const int16_t* pcm, uint8_t* output, uint32_t* length) override
    {
        chunks.append(QByteArray(reinterpret_cast<const char*>(pcm), int(samples * 2)));
        std::memset(output, chunks.size() & 0xFF, bytesPerChunk);
        *length = bytesPerChunk;
        return 0;
    }
    uint32_t beDeinitStream(uint32_t, uint8_t* output, uint32_t* length) override
    {
        ++deinits;
        std::memset(output, 0xEE, flushBytes);
        *length = flushBytes;
        return 0;
    }
    uint32_t beInfoTag(uint32_t, uint8_t* output, uint32_t* length) override
    {
        ++infoTags;
        std::memcpy(output, infoTag.constData(), infoTag.size());
        *length = uint32_t(infoTag.size());
        return 0;
    }
    uint32_t beCloseStream(uint32_t) override { ++closes; return 0; }
    void beVersion(uint8_t* version) override
    {
        ++versions;
        const uint8_t v[4] = {1, 32, 3, 100};
        std::memcpy(version, v, 4);
    }

    uint32_t initResult = 0, samplesPerChunk = 8, outputBufferSize = 64, bytesPerChunk = 3, flushBytes = 2;
    int inits = 0, deinits = 0, infoTags = 0, closes = 0, versions = 0;
    QByteArray infoTag; // the final VBR header frame; empty: none
    QByteArray lastConfig;
    QList<QByteArray> chunks;
};
