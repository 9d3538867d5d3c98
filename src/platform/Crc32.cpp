#include "platform/Crc32.h"
#include <libdeflate.h>

// libdeflate folds the CRC with carry-less multiplication where the
// processor has it: several times faster than a table.
void Crc32::Add(const uint8_t* data, int64_t length)
{
    if (length > 0)
        m_value = libdeflate_crc32(m_value, data, static_cast<size_t>(length));
}
