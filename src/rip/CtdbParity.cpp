#include "rip/CtdbParity.h"
#include "rip/CtdbWindow.h"
#include "rip/Gf65536.h"
#include "rip/ReedSolomon16.h"
#include <algorithm>

namespace {
constexpr int Stride = CtdbWindow::Stride;

uint16_t littleEndian(const uint8_t* bytes, int64_t word)
{
    return static_cast<uint16_t>(bytes[2 * word] | bytes[2 * word + 1] << 8);
}

bool usable(int npar)
{
    return npar > 0 && npar <= ReedSolomon16::MaxNpar;
}
} // namespace

CtdbParity::CtdbParity(int npar)
    : m_npar(npar)
    , m_syndromes(int64_t{Stride} * npar)
{
}

std::optional<CtdbParity> CtdbParity::FromSyndromeRows(const uint8_t* bytes, int64_t size, int npar)
{
    if (!usable(npar) || size < 2 * int64_t{Stride} * npar)
        return std::nullopt;
    CtdbParity parity(npar);
    for (int i = 0; i < npar; ++i)
        for (int column = 0; column < Stride; ++column)
            parity.m_syndromes[int64_t{column} * npar + i] = littleEndian(bytes, int64_t{i} * Stride + column);
    return parity;
}

// The code's words are d(x)·x^npar + p(x) for data d and parity p, zero at
// every root α^i: so d(α^i) = p(α^i)·α^(−i·npar).
std::optional<CtdbParity> CtdbParity::FromParityColumns(const uint8_t* bytes, int64_t size, int npar)
{
    if (!usable(npar) || size != 2 * int64_t{Stride} * npar)
        return std::nullopt;
    CtdbParity parity(npar);
    std::vector<uint16_t> words(npar);
    for (int column = 0; column < Stride; ++column) {
        for (int j = 0; j < npar; ++j)
            words[j] = littleEndian(bytes, int64_t{column} * npar + j);
        uint16_t* syndromes = &parity.m_syndromes[int64_t{column} * npar];
        ReedSolomon16::AddToSyndromes(words.data(), npar, 1, npar, syndromes);
        for (int i = 0; i < npar; ++i)
            syndromes[i] = Gf65536::Multiply(syndromes[i], Gf65536::Power(-int64_t{i} * npar));
    }
    return parity;
}

bool CtdbParity::Matches(const uint8_t* sample, int64_t size) const
{
    const int64_t count = std::min<int64_t>(size / 2, m_npar);
    if (size % 2 || count == 0)
        return false;
    for (int64_t i = 0; i < count; ++i)
        if (littleEndian(sample, i) != m_syndromes[i])
            return false;
    return true;
}
