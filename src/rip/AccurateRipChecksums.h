#pragma once
#include "platform/Crc32.h"
#include <cstdint>

// The checksums of one track's CD audio (16-bit stereo at 44100 Hz), fed
// piece by piece as it is written: AccurateRip v1 and v2, and the CRC-32 of
// the whole track. AccurateRip leaves out the disc's edges, where drives
// with a read offset disagree: the first audio track's first 5 sectors less
// one sample, and the last audio track's last 5 sectors.
class AccurateRipChecksums {
public:
    static constexpr int SamplesPerSector = 588;
    static constexpr int EdgeSamples = 5 * SamplesPerSector;

    AccurateRipChecksums(int64_t sampleCount, bool firstTrack, bool lastTrack);

    void Add(const uint8_t* pcm, int64_t bytes);
    uint32_t V1() const { return m_v1; }
    uint32_t V2() const { return m_v2; }
    uint32_t Crc() const { return m_crc.Value(); }

private:
    void addSample(uint32_t sample);
    void addRun(const uint8_t* at, uint64_t from, uint64_t to);
    // v1 sums position × sample; v2 also folds in the product's high 32 bits.
    void addProduct(uint64_t product)
    {
        m_v1 += static_cast<uint32_t>(product);
        m_v2 += static_cast<uint32_t>(product) + static_cast<uint32_t>(product >> 32);
    }

    uint64_t m_firstCounted;
    uint64_t m_lastCounted;
    uint64_t m_position = 1; // of the next sample, from 1
    uint32_t m_v1 = 0;
    uint32_t m_v2 = 0;
    Crc32 m_crc;
    uint8_t m_partial[4] = {};
    int m_partialBytes = 0;
};
