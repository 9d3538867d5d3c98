#include "rip/Gf65536.h"
#include <vector>

namespace {
constexpr uint32_t FieldPolynomial = 0x1100B;

struct Tables {
    std::vector<uint16_t> powers = std::vector<uint16_t>(2 * Gf65536::Order);
    std::vector<uint16_t> logs = std::vector<uint16_t>(Gf65536::Order + 1);

    Tables()
    {
        uint32_t value = 1;
        for (int k = 0; k < Gf65536::Order; ++k) {
            powers[k] = powers[k + Gf65536::Order] = static_cast<uint16_t>(value);
            logs[value] = static_cast<uint16_t>(k);
            value <<= 1;
            if (value & 0x10000)
                value ^= FieldPolynomial;
        }
    }
};

const Tables& tables()
{
    static const Tables built;
    return built;
}
} // namespace

uint16_t Gf65536::Power(int64_t power)
{
    const int64_t reduced = power % Order;
    return tables().powers[reduced < 0 ? reduced + Order : reduced];
}

int Gf65536::Log(uint16_t value)
{
    return tables().logs[value];
}

uint16_t Gf65536::Multiply(uint16_t a, uint16_t b)
{
    if (a == 0 || b == 0)
        return 0;
    return tables().powers[Log(a) + Log(b)];
}

uint16_t Gf65536::Divide(uint16_t a, uint16_t b)
{
    if (a == 0)
        return 0;
    return tables().powers[Log(a) + Order - Log(b)];
}

const uint16_t* Gf65536::Powers()
{
    return tables().powers.data();
}
