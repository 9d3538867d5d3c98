#pragma once
#include <cstdint>
#include <optional>
#include <vector>

// The database's side of a disc: each column's npar syndromes (see
// CtdbWindow, ReedSolomon16), those of the entry's rip, the one to mend
// others by.
class CtdbParity {
public:
    // The bytes fetched from the entry's parity address: rows of Stride
    // little-endian words, row i holding every column's S_i. More rows (a
    // larger npar) give their first npar; fewer give nothing.
    static std::optional<CtdbParity> FromSyndromeRows(const uint8_t* bytes, int64_t size, int npar);
    // The parity words of a systematic encoder instead: npar little-endian
    // words per column, column after column, the highest power first; a
    // column's words followed by its parity make a word of the code.
    static std::optional<CtdbParity> FromParityColumns(const uint8_t* bytes, int64_t size, int npar);

    int Npar() const { return m_npar; }
    const uint16_t* Column(int column) const { return &m_syndromes[int64_t{column} * m_npar]; }

    // Whether the entry's syndrome value, column 0's syndromes as
    // little-endian words, agrees on the syndromes both have.
    bool Matches(const uint8_t* sample, int64_t size) const;

private:
    explicit CtdbParity(int npar);

    int m_npar;
    std::vector<uint16_t> m_syndromes; // npar per column
};
