#pragma once
#include <cstdint>

// Where the CUETools database's CRC and parity lie in a disc's audio. The
// audio is seen as 16-bit little-endian words (a sample's left or right
// value) counted from the disc's first sample, in rows of Stride words (10
// sectors); word w is in column w mod Stride. Each column's words in rows 1
// to Rows() make one codeword, the first row its highest power. The first
// row, the last whole one and the words after it are left out: rips read
// with different offsets disagree there. The entry's crc32 is the CRC-32 of
// the codewords' words; its trackcrcs cut the same bytes at the tracks'
// bounds.
class CtdbWindow {
public:
    static constexpr int Stride = 11760;
    static constexpr int64_t SectorBytes = 2352;
    static constexpr int64_t RowBytes = 2 * int64_t{Stride};
    static constexpr int RowSectors = static_cast<int>(RowBytes / SectorBytes);
    // Farthest shift, in samples either way, between a rip and the database
    // that can be made up: just under half a row.
    static constexpr int MaxOffset = Stride / 2 - 1;

    explicit CtdbWindow(int64_t discSamples);

    // Bytes left out before the window, and after it for a disc whose
    // length in sectors leaves this remainder by RowSectors.
    static constexpr int64_t BytesBefore = RowBytes;
    static constexpr int64_t BytesAfter(int remainder) { return RowBytes + remainder * SectorBytes; }

    // Words per codeword; 0 for a disc of less than 30 sectors.
    int Rows() const { return m_rows; }

    // The word at a row (0 to Rows() − 1) of a column's codeword, in a rip
    // whose sample k is the database's sample k + offset.
    int64_t Word(int column, int row, int offset) const
    {
        return (row + 1) * int64_t{Stride} + column - 2 * int64_t{offset};
    }
    // The bytes of such a rip whose CRC-32 is the entry's crc32: from
    // FirstByte up to EndByte.
    int64_t FirstByte(int offset) const { return 2 * Word(0, 0, offset); }
    int64_t EndByte(int offset) const { return 2 * Word(0, m_rows, offset); }

private:
    int m_rows;
};
