#include "encode/PcmBytes.h"

namespace {
constexpr int ByteBits = 8;
// 8-bit WAV samples are unsigned around this.
constexpr int32_t ByteMiddle = 128;
} // namespace

void PcmBytes::Decode(const uint8_t* bytes, size_t count, int containerBits, int validBits,
                      std::vector<int32_t>& samples)
{
    const int width = containerBits / ByteBits;
    const int unused = containerBits - validBits;
    samples.reserve(samples.size() + count);
    for (size_t i = 0; i < count; ++i, bytes += width) {
        if (width == 1) {
            samples.push_back((int32_t(bytes[0]) - ByteMiddle) >> unused);
            continue;
        }
        uint32_t value = 0;
        for (int b = 0; b < width; ++b)
            value |= uint32_t(bytes[b]) << (ByteBits * b);
        // The top byte's sign spreads over the bytes above it, then the unused low bits go.
        const int spare = 32 - containerBits;
        samples.push_back(int32_t(value << spare) >> (spare + unused));
    }
}

void PcmBytes::Encode(const std::vector<int32_t>& samples, int containerBits, int validBits,
                      std::vector<uint8_t>& bytes)
{
    const int width = containerBits / ByteBits;
    const int unused = containerBits - validBits;
    bytes.reserve(bytes.size() + samples.size() * size_t(width));
    for (const int32_t sample : samples) {
        const auto value = uint32_t(sample) << unused;
        if (width == 1) {
            bytes.push_back(uint8_t(int32_t(value) + ByteMiddle));
            continue;
        }
        for (int b = 0; b < width; ++b)
            bytes.push_back(uint8_t(value >> (ByteBits * b)));
    }
}
