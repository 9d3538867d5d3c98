#pragma once
#include <cstdint>

// Reduces samples to 16 bits with triangular dither of one step either
// side: the error becomes steady noise instead of distortion that follows
// the music. The noise is the same on every run.
class TpdfDither {
public:
    // value: the sample in 16-bit steps, fraction included.
    int16_t Reduce(double value);

private:
    double uniform();

    uint32_t m_state = 0x9E3779B9u;
};
