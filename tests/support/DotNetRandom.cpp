#include "support/DotNetRandom.h"
#include <cstdlib>

namespace {
constexpr int32_t Big = 2147483647;
constexpr int32_t Seed = 161803398;
} // namespace

DotNetRandom::DotNetRandom(int32_t seed)
{
    int32_t mj = Seed - std::abs(seed);
    int32_t mk = 1;
    m_seeds[55] = mj;
    for (int i = 1; i < 55; ++i) {
        const int ii = 21 * i % 55;
        m_seeds[ii] = mk;
        mk = mj - mk;
        if (mk < 0)
            mk += Big;
        mj = m_seeds[ii];
    }
    for (int k = 1; k < 5; ++k)
        for (int i = 1; i < 56; ++i) {
            m_seeds[i] -= m_seeds[1 + (i + 30) % 55];
            if (m_seeds[i] < 0)
                m_seeds[i] += Big;
        }
}

int32_t DotNetRandom::sample()
{
    if (++m_next >= 56)
        m_next = 1;
    if (++m_nextP >= 56)
        m_nextP = 1;
    int32_t value = m_seeds[m_next] - m_seeds[m_nextP];
    if (value == Big)
        --value;
    if (value < 0)
        value += Big;
    m_seeds[m_next] = value;
    return value;
}

void DotNetRandom::NextBytes(uint8_t* buffer, int64_t length)
{
    for (int64_t i = 0; i < length; ++i)
        buffer[i] = static_cast<uint8_t>(sample() % 256);
}
