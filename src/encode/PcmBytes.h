#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// WAV samples as bytes: little-endian in containers of 8, 16, 24 or 32
// bits, the valid bits at the top, 8-bit samples unsigned.
class PcmBytes {
public:
    // The container's bits for samples of validBits: the next whole byte.
    static int ContainerBits(int validBits) { return (validBits + 7) / 8 * 8; }
    // Appends count samples read from bytes.
    static void Decode(const uint8_t* bytes, size_t count, int containerBits, int validBits,
                       std::vector<int32_t>& samples);
    // Appends the samples' bytes.
    static void Encode(const std::vector<int32_t>& samples, int containerBits, int validBits,
                       std::vector<uint8_t>& bytes);
};
