#include "rip/AccurateRipSlide.h"

AccurateRipSlide::AccurateRipSlide(int64_t first, int64_t last, uint64_t weighted, uint64_t plain)
    : m_first(first), m_last(last), m_weighted(weighted), m_plain(plain)
{
}

AccurateRipSlide AccurateRipSlide::Of(const uint32_t* x, int64_t first, int64_t last)
{
    uint64_t weighted = 0, plain = 0;
    for (int64_t i = first; i <= last; ++i) {
        weighted += static_cast<uint64_t>(i + 1) * x[i];
        plain += x[i];
    }
    return AccurateRipSlide(first, last, weighted, plain);
}

void AccurateRipSlide::Forward(uint32_t leaving, uint32_t entering)
{
    if (!counts())
        return;
    m_weighted += -m_plain - static_cast<uint64_t>(m_first) * leaving + static_cast<uint64_t>(m_last + 1) * entering;
    m_plain += uint64_t{entering} - leaving;
}

void AccurateRipSlide::Backward(uint32_t leaving, uint32_t entering)
{
    if (!counts())
        return;
    m_plain += uint64_t{entering} - leaving;
    m_weighted += m_plain - static_cast<uint64_t>(m_last + 1) * leaving + static_cast<uint64_t>(m_first) * entering;
}

bool AccurateRipSlide::MayBeV2(uint32_t sum) const
{
    const int64_t counted = m_last - m_first + 1;
    const uint32_t carry = V1() + static_cast<uint32_t>(m_weighted >> 32) - sum; // d
    return counted > 0 && carry < static_cast<uint64_t>(counted);
}
