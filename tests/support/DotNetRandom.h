#pragma once
#include <array>
#include <cstdint>

// The seeded generator of .NET's System.Random (Knuth's subtractive method,
// as its reference source publishes it), so that audio other projects' tests
// draw from it can be drawn again here.
class DotNetRandom {
public:
    explicit DotNetRandom(int32_t seed);
    // As Random.NextBytes, byte by byte: a buffer filled in pieces gets the same bytes.
    void NextBytes(uint8_t* buffer, int64_t length);

private:
    int32_t sample();

    std::array<int32_t, 56> m_seeds{};
    int m_next = 0;
    int m_nextP = 21;
};
