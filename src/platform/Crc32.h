#pragma once
#include <cstdint>

// The usual CRC-32 of a byte stream (as zlib's), fed piece by piece.
class Crc32 {
public:
    void Add(const uint8_t* data, int64_t length);
    uint32_t Value() const { return m_value; }

    // The CRC of two pieces one after the other, from each piece's CRC and
    // the second one's length: pieces checked apart (one a track) join into
    // the CRC of the whole.
    static uint32_t Combine(uint32_t first, uint32_t second, int64_t secondLength);
    // What XORing maskLength bytes of a message with mask does to its CRC,
    // when bytesAfter bytes follow them: the CRC of the changed message is
    // the old one XOR this. Changes join by XOR.
    static uint32_t Change(const uint8_t* mask, int64_t maskLength, int64_t bytesAfter);

private:
    uint32_t m_value = 0;
};
