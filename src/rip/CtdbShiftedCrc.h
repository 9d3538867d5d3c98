#pragma once
#include "platform/Crc32.h"
#include "rip/CtdbWindow.h"
#include <cstdint>
#include <vector>

// The CRC the CUETools database keeps of a disc (CtdbWindow) for the rip
// read shifted by up to ±Range samples, from one pass over its audio: the
// middle of the window, common to every shift, is summed once, the bytes
// around its two ends are kept, and the pieces' CRCs are joined
// (Crc32::Combine). At shift s the database's sample k is the rip's k + s.
class CtdbShiftedCrc {
public:
    static constexpr int Range = CtdbWindow::Stride / 2;

    explicit CtdbShiftedCrc(int64_t discSamples);

    // The disc's audio in order: bytes from the disc's byte at.
    void Add(int64_t at, const uint8_t* pcm, int64_t bytes);
    // The window's CRC at each shift, from −Range (index 0) to +Range; none
    // for a disc too short to shift.
    std::vector<uint32_t> Crcs() const;

private:
    static constexpr int64_t EdgeBytes = 4 * int64_t{Range};

    int64_t m_headStart; // the window's first byte at −Range
    int64_t m_tailStart; // its end at −Range
    Crc32 m_middle;
    std::vector<uint8_t> m_head; // 2 · EdgeBytes from m_headStart
    std::vector<uint8_t> m_tail; // 2 · EdgeBytes from m_tailStart
};
