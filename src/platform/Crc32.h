#pragma once
#include <cstdint>

// The usual CRC-32 of a byte stream (as zlib's), fed piece by piece.
class Crc32 {
public:
    void Add(const uint8_t* data, int64_t length);
    uint32_t Value() const { return m_value; }

private:
    uint32_t m_value = 0;
};
