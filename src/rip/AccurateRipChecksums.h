#pragma once
#include "platform/Crc32.h"
#include <array>
#include <cstdint>

// The checksums of one track's CD audio (16-bit stereo at 44100 Hz), fed
// piece by piece as it is written: AccurateRip v1 and v2, and the CRC-32 of
// the whole track. AccurateRip leaves out the disc's edges, where drives
// with a read offset disagree: the first audio track's first 5 sectors less
// one sample, and the last audio track's last 5 sectors. The last samples
// seen are kept aside, so the track's end is wherever its audio ends.
class AccurateRipChecksums {
public:
    static constexpr int SamplesPerSector = 588;
    static constexpr int EdgeSamples = 5 * SamplesPerSector;

    AccurateRipChecksums(bool firstTrack, bool lastTrack);

    void Add(const uint8_t* pcm, int64_t bytes);
    uint32_t V1() const;
    uint32_t V2() const;
    uint32_t Crc() const { return m_crc.Value(); }

private:
    struct Sums {
        uint64_t low = 0;  // of the products' low halves
        uint64_t high = 0; // of their high halves
    };
    void addSample(uint32_t sample);
    static Sums sumRun(const uint8_t* at, uint64_t from, uint64_t to);
    void keepTail(const uint8_t* at, uint64_t from, uint64_t count);
    // What the last track's last samples added, to be taken back.
    Sums tail() const;

    uint64_t m_firstCounted;
    bool m_lastTrack;
    uint64_t m_position = 1; // of the next sample, from 1
    uint32_t m_v1 = 0;       // position × sample
    uint32_t m_v2 = 0;       // the same with the products' high halves folded in
    std::array<uint32_t, EdgeSamples> m_tail{}; // sample at position p in [p % EdgeSamples]
    Crc32 m_crc;
    uint8_t m_partial[4] = {};
    int m_partialBytes = 0;
};
