#pragma once
#include <cstdint>
#include <vector>

// Little-endian 16-bit PCM as samples, whatever the machine's byte order.
inline void ReadPcm16(const uint8_t* pcm, int64_t count, std::vector<int16_t>& samples)
{
    samples.resize(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i)
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
}
