#include "platform/Crc32.h"
#include <algorithm>
#include <limits>
#include <zlib.h>

void Crc32::Add(const uint8_t* data, int64_t length)
{
    // zlib takes lengths of 32 bits at most.
    constexpr int64_t Step = std::numeric_limits<uInt>::max();
    while (length > 0) {
        const auto n = static_cast<uInt>(std::min(length, Step));
        m_value = static_cast<uint32_t>(crc32(m_value, data, n));
        data += n;
        length -= n;
    }
}
