// What the benchmark programs share: seeded noise and timed steps.
#pragma once
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>

namespace bench {
// xorshift64 bytes: cheap and the same for the same seed.
inline void FillNoise(uint8_t* bytes, int64_t count, uint64_t seed)
{
    for (int64_t k = 0; k < count; ++k) {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        bytes[k] = static_cast<uint8_t>(seed >> 24);
    }
}

// Prints the wall and processor seconds of one step; returns the wall seconds.
inline double Timed(const char* step, const std::function<void()>& work)
{
    const auto wall = std::chrono::steady_clock::now();
    const std::clock_t processor = std::clock();
    work();
    const double processorSeconds = double(std::clock() - processor) / CLOCKS_PER_SEC;
    const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    std::printf("%-40s %7.2f s wall %7.2f s CPU\n", step, wallSeconds, processorSeconds);
    return wallSeconds;
}
} // namespace bench
