#include "rip/ReedSolomon16.h"
#include "rip/Gf65536.h"
#include <algorithm>

namespace {
// Coefficients, the constant first.
using Polynomial = std::vector<uint16_t>;

// Multiplying by α^i as two look-ups, one per byte: tables small enough to
// stay in the processor's nearest cache.
struct PowerMultipliers {
    uint16_t low[ReedSolomon16::MaxNpar][256];
    uint16_t high[ReedSolomon16::MaxNpar][256];

    PowerMultipliers()
    {
        for (int i = 0; i < ReedSolomon16::MaxNpar; ++i) {
            for (int b = 0; b < 256; ++b) {
                low[i][b] = Gf65536::Multiply(static_cast<uint16_t>(b), Gf65536::Power(i));
                high[i][b] = Gf65536::Multiply(static_cast<uint16_t>(b << 8), Gf65536::Power(i));
            }
        }
    }
};

const PowerMultipliers& powerMultipliers()
{
    static const PowerMultipliers built;
    return built;
}

int degree(const Polynomial& p)
{
    int d = static_cast<int>(p.size()) - 1;
    while (d > 0 && p[d] == 0)
        --d;
    return d;
}

// The error locator Λ(x) = Π (1 − X_k·x), X_k = α^(power of wrong word k),
// shortest to generate the syndromes; nullopt when longer than npar/2.
std::optional<Polynomial> berlekampMassey(const uint16_t* s, int npar)
{
    Polynomial locator{1};
    Polynomial previous{1};
    int length = 0;
    int shift = 1;
    uint16_t previousDiscrepancy = 1;
    for (int n = 0; n < npar; ++n) {
        uint16_t discrepancy = s[n];
        for (int i = 1; i <= length && i < static_cast<int>(locator.size()); ++i)
            discrepancy ^= Gf65536::Multiply(locator[i], s[n - i]);
        if (discrepancy == 0) {
            ++shift;
            continue;
        }
        Polynomial next = locator;
        next.resize(std::max(next.size(), previous.size() + shift), 0);
        const uint16_t scale = Gf65536::Divide(discrepancy, previousDiscrepancy);
        for (size_t j = 0; j < previous.size(); ++j)
            next[j + shift] ^= Gf65536::Multiply(scale, previous[j]);
        if (2 * length <= n) {
            previous = locator;
            length = n + 1 - length;
            previousDiscrepancy = discrepancy;
            shift = 1;
        } else {
            ++shift;
        }
        locator = std::move(next);
    }
    if (length > npar / 2 || degree(locator) != length)
        return std::nullopt;
    locator.resize(length + 1);
    return locator;
}

// Whether the locator is a product of distinct factors (1 − X·x): a cheap
// test, before the search, that rejects most syndromes of too many errors.
// It is when its monic form m divides x^65536 − x, whose roots are the
// field's elements: x squared 16 times, modulo m, gives x back.
bool splits(const Polynomial& locator)
{
    const int d = static_cast<int>(locator.size()) - 1;
    if (d < 2)
        return true;
    Polynomial monic(d + 1);
    for (int j = 0; j <= d; ++j)
        monic[j] = Gf65536::Divide(locator[j], locator[d]);
    Polynomial x(d, 0);
    x[1] = 1;
    Polynomial r = x;
    for (int round = 0; round < 16; ++round) {
        Polynomial square(2 * d - 1, 0);
        for (int j = 0; j < d; ++j)
            square[2 * j] = Gf65536::Multiply(r[j], r[j]);
        for (int top = 2 * d - 2; top >= d; --top) {
            const uint16_t c = square[top];
            for (int j = 0; c != 0 && j <= d; ++j)
                square[top - d + j] ^= Gf65536::Multiply(c, monic[j]);
        }
        std::copy(square.begin(), square.begin() + d, r.begin());
    }
    return r == x;
}

// Chien's search: the powers p < length with Λ(α^−p) = 0, the terms of Λ
// kept as logarithms and stepped by −j each power.
std::vector<int> rootPowers(const Polynomial& locator, int length)
{
    const int d = static_cast<int>(locator.size()) - 1;
    const uint16_t* powers = Gf65536::Powers();
    std::vector<int> logs(d + 1, -1);
    for (int j = 1; j <= d; ++j)
        if (locator[j] != 0)
            logs[j] = Gf65536::Log(locator[j]);
    std::vector<int> roots;
    for (int p = 0; p < length && static_cast<int>(roots.size()) < d; ++p) {
        uint16_t sum = locator[0];
        for (int j = 1; j <= d; ++j) {
            if (logs[j] < 0)
                continue;
            sum ^= powers[logs[j]];
            logs[j] -= j;
            if (logs[j] < 0)
                logs[j] += Gf65536::Order;
        }
        if (sum == 0)
            roots.push_back(p);
    }
    return roots;
}

uint16_t evaluate(const Polynomial& p, uint16_t x)
{
    uint16_t value = 0;
    for (auto c = p.rbegin(); c != p.rend(); ++c)
        value = Gf65536::Multiply(value, x) ^ *c;
    return value;
}

// Forney's formula, for syndromes from α^0: the wrong word at X = α^p is off
// by X·Ω(X^−1) / Λ′(X^−1), with Ω = S·Λ mod x^(deg Λ).
uint16_t errorMask(const Polynomial& locator, const Polynomial& evaluator, int power)
{
    Polynomial derivative(locator.size(), 0);
    for (size_t j = 1; j < locator.size(); j += 2)
        derivative[j - 1] = locator[j];
    const uint16_t inverse = Gf65536::Power(-power);
    const uint16_t slope = evaluate(derivative, inverse);
    if (slope == 0)
        return 0;
    return Gf65536::Multiply(Gf65536::Power(power), Gf65536::Divide(evaluate(evaluator, inverse), slope));
}

Polynomial errorEvaluator(const Polynomial& locator, const uint16_t* s)
{
    const int d = static_cast<int>(locator.size()) - 1;
    Polynomial evaluator(d, 0);
    for (int k = 0; k < d; ++k)
        for (int j = 0; j <= k; ++j)
            evaluator[k] ^= Gf65536::Multiply(locator[j], s[k - j]);
    return evaluator;
}
} // namespace

void ReedSolomon16::AddToSyndromes(const uint16_t* words, int64_t count, ptrdiff_t step, int npar, uint16_t* syndromes)
{
    const PowerMultipliers& m = powerMultipliers();
    uint16_t s[MaxNpar];
    std::copy(syndromes, syndromes + npar, s);
    for (int64_t k = 0; k < count; ++k) {
        const uint16_t word = words[k * step];
        for (int i = 0; i < npar; ++i)
            s[i] = m.low[i][s[i] & 0xFF] ^ m.high[i][s[i] >> 8] ^ word;
    }
    std::copy(s, s + npar, syndromes);
}

std::optional<std::vector<ReedSolomon16::Error>> ReedSolomon16::Errors(const uint16_t* syndromes, int npar,
                                                                      int length)
{
    if (std::all_of(syndromes, syndromes + npar, [](uint16_t s) { return s == 0; }))
        return std::vector<Error>{};
    const std::optional<Polynomial> locator = berlekampMassey(syndromes, npar);
    if (!locator || locator->size() < 2 || !splits(*locator))
        return std::nullopt;
    const std::vector<int> roots = rootPowers(*locator, length);
    if (roots.size() != locator->size() - 1)
        return std::nullopt;
    const Polynomial evaluator = errorEvaluator(*locator, syndromes);
    std::vector<Error> errors;
    for (int power : roots) {
        const uint16_t mask = errorMask(*locator, evaluator, power);
        if (mask == 0)
            return std::nullopt;
        errors.push_back({length - 1 - power, mask});
    }
    return errors;
}
