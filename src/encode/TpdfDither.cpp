#include "encode/TpdfDither.h"
#include <algorithm>
#include <cmath>
#include <limits>

int16_t TpdfDither::Reduce(double value)
{
    const double dithered = std::round(value + uniform() - uniform());
    return int16_t(std::clamp(dithered, double(std::numeric_limits<int16_t>::min()),
                              double(std::numeric_limits<int16_t>::max())));
}

// xorshift32: fast, and plenty for noise.
double TpdfDither::uniform()
{
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return double(m_state) / 4294967296.0;
}
