#pragma once
#include <cstdint>
#include <vector>

class CtdbParity;
class CtdbSyndromes;

// Mends a rip with the database's syndromes: finds the offset at which the
// rip's columns are the database's codewords give or take npar/2 wrong words
// each, then every column's wrong words. All or nothing: one column with
// more wrong words than it can mend leaves the whole rip as it is.
class CtdbRepair {
public:
    enum class Outcome {
        Clean,      // the rip is the database's, at Offset
        Repairable, // the Corrections make it so
        TooDamaged, // at Offset, a column has more wrong words than npar/2
        NoOffset,   // no offset within ±MaxOffset fits: another pressing, or damage beyond mending
    };

    // The rip's word counted from the disc's first sample (two per sample)
    // is right once XORed with Mask.
    struct Correction {
        int64_t Word;
        uint16_t Mask;
    };

    struct Plan {
        Outcome Kind = Outcome::NoOffset;
        // The rip's sample k is the database's sample k + Offset.
        int Offset = 0;
        std::vector<Correction> Corrections; // in the order of the words
        // Stereo samples corrected.
        int64_t Samples() const;
    };

    // What to change in the rip; changes nothing. The rip's syndromes are
    // complete, with an npar not below the database's. threads 0: one per
    // processor.
    static Plan Find(const CtdbSyndromes& rip, const CtdbParity& database, int threads = 0);

    // Makes the corrections that fall in a piece of the disc's audio: bytes
    // of it from the disc's byte from. The repaired rip's CRC-32 from
    // CtdbWindow::FirstByte(Offset) to EndByte(Offset) is then the entry's crc32.
    static void Apply(const std::vector<Correction>& corrections, uint8_t* pcm, int64_t from, int64_t bytes);
};
