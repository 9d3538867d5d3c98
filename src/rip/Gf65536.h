#pragma once
#include <cstdint>

// GF(2^16), the field of the CUETools database's Reed–Solomon code: the
// polynomials over GF(2) modulo x^16 + x^12 + x^3 + x + 1 (0x1100B), whose
// root α = 2 generates all 65535 non-zero elements. Addition is XOR.
class Gf65536 {
public:
    static constexpr int Order = 65535; // α^Order = 1

    // α^power, for any power.
    static uint16_t Power(int64_t power);
    // The power of α that gives value; value is not 0.
    static int Log(uint16_t value);
    static uint16_t Multiply(uint16_t a, uint16_t b);
    // b is not 0.
    static uint16_t Divide(uint16_t a, uint16_t b);

    // For loops that keep powers as logarithms: α^k for k in 0 … 2·Order−1,
    // so that the sum of two logarithms needs no reduction.
    static const uint16_t* Powers();
};
