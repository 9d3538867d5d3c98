#pragma once
#include <cstddef>
#include <cstdint>

// .NET's System.Random built from a seed (Knuth's subtractive generator),
// for test data published as made by it.
class DotNetRandom {
public:
    explicit DotNetRandom(int32_t seed);

    // 0 … 2^31 − 2.
    int32_t Sample();
    // [0, 1).
    double NextDouble();
    // min … max − 1.
    int32_t Next(int32_t min, int32_t max);
    // Each byte the low byte of one Sample().
    void NextBytes(uint8_t* bytes, size_t count);

private:
    int32_t m_state[56];
    int m_next = 0;
    int m_nextP = 21;
};
