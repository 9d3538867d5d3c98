#include "platform/Crc32.h"
#include <libdeflate.h>

namespace {
// The reflected CRC-32 polynomial.
constexpr uint32_t Polynomial = 0xEDB88320u;

// a × b modulo the polynomial, bits reflected (bit 31 is x^0).
uint32_t multiply(uint32_t a, uint32_t b)
{
    uint32_t product = 0;
    for (uint32_t bit = 0x80000000u; bit != 0; bit >>= 1) {
        if (a & bit)
            product ^= b;
        b = (b & 1) ? (b >> 1) ^ Polynomial : b >> 1;
    }
    return product;
}

// x^(8 × bytes) modulo the polynomial, by squaring.
uint32_t shiftOf(int64_t bytes)
{
    uint32_t result = 0x80000000u;   // 1
    uint32_t power = 0x00800000u;    // x^8: one byte
    for (uint64_t n = static_cast<uint64_t>(bytes); n != 0; n >>= 1) {
        if (n & 1)
            result = multiply(result, power);
        power = multiply(power, power);
    }
    return result;
}
} // namespace

// libdeflate folds the CRC with carry-less multiplication where the
// processor has it: several times faster than a table.
void Crc32::Add(const uint8_t* data, int64_t length)
{
    if (length > 0)
        m_value = libdeflate_crc32(m_value, data, static_cast<size_t>(length));
}

// The pre- and post-inversions cancel out: the first CRC only moves past the
// second piece's length, as if that many zero bytes followed it.
uint32_t Crc32::Combine(uint32_t first, uint32_t second, int64_t secondLength)
{
    if (secondLength <= 0)
        return first ^ second;
    return multiply(shiftOf(secondLength), first) ^ second;
}

// The CRC is affine in the message: the change is the mask's CRC without
// the pre- and post-inversions, moved past the bytes after it.
uint32_t Crc32::Change(const uint8_t* mask, int64_t maskLength, int64_t bytesAfter)
{
    Crc32 masked, zeros;
    masked.Add(mask, maskLength);
    for (int64_t k = 0; k < maskLength; ++k) {
        const uint8_t zero = 0;
        zeros.Add(&zero, 1);
    }
    return Combine(masked.Value() ^ zeros.Value(), 0, bytesAfter);
}
