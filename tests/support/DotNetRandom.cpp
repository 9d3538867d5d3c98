#include "support/DotNetRandom.h"
#include <cstdlib>
#include <limits>

namespace {
constexpr int32_t Big = std::numeric_limits<int32_t>::max();
constexpr int32_t Seed = 161803398;

int32_t wrapped(int32_t value)
{
    return value < 0 ? value + Big : value;
}
} // namespace

DotNetRandom::DotNetRandom(int32_t seed)
{
    int32_t last = Seed - (seed == std::numeric_limits<int32_t>::min() ? Big : std::abs(seed));
    m_state[55] = last;
    int32_t next = 1;
    for (int i = 1; i < 55; ++i) {
        const int at = 21 * i % 55;
        m_state[at] = next;
        next = wrapped(last - next);
        last = m_state[at];
    }
    for (int round = 0; round < 4; ++round)
        for (int i = 1; i < 56; ++i)
            m_state[i] = wrapped(m_state[i] - m_state[1 + (i + 30) % 55]);
}

int32_t DotNetRandom::Sample()
{
    m_next = m_next + 1 < 56 ? m_next + 1 : 1;
    m_nextP = m_nextP + 1 < 56 ? m_nextP + 1 : 1;
    int32_t value = m_state[m_next] - m_state[m_nextP];
    if (value == Big)
        --value;
    m_state[m_next] = wrapped(value);
    return m_state[m_next];
}

double DotNetRandom::NextDouble()
{
    return Sample() * (1.0 / Big);
}

int32_t DotNetRandom::Next(int32_t min, int32_t max)
{
    return static_cast<int32_t>(NextDouble() * (int64_t{max} - min)) + min;
}

void DotNetRandom::NextBytes(uint8_t* bytes, size_t count)
{
    for (size_t k = 0; k < count; ++k)
        bytes[k] = static_cast<uint8_t>(Sample());
}
