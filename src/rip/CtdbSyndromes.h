#pragma once
#include "rip/CtdbWindow.h"
#include <cstdint>
#include <vector>

// The syndromes of a rip's codewords (see CtdbWindow, ReedSolomon16),
// reckoned as its audio is fed in disc order, in its own alignment. The
// rows at the window's edges are kept as well: a shift of less than a row
// moves one word into each codeword and one out, so that the syndromes at
// any offset within ±MaxOffset follow without another pass over the audio.
class CtdbSyndromes {
public:
    // npar up to ReedSolomon16::MaxNpar; threads 0: one per processor.
    CtdbSyndromes(int64_t discSamples, int npar, int threads = 0);

    // The next bytes of the disc's audio, 16-bit little-endian stereo.
    void Add(const uint8_t* pcm, int64_t bytes);
    // Whether the audio was added up to the window's last edge row.
    bool Complete() const { return m_words >= m_edgesEnd; }

    const CtdbWindow& Window() const { return m_window; }
    int Npar() const { return m_npar; }
    // The npar syndromes of the database's column as this rip holds it,
    // when its sample k is the database's sample k + offset. Complete only.
    void At(int column, int offset, uint16_t* syndromes) const;
    // The rows the database keeps for this rip (see CtdbParity). Complete only.
    std::vector<uint8_t> SyndromeRows() const;

private:
    static constexpr int BlockRows = 64;
    // The rows kept: the one above the codewords, their first, their last
    // and the one below.
    enum EdgeRow { FirstLeftOut, FirstKept, LastKept, LastLeftOut, EdgeRows };

    void addWords(const uint8_t* pairs, int64_t count);
    void keepEdges(int64_t row, int column, const uint8_t* pairs, int64_t count);
    void addToBlock(int64_t row, int column, const uint8_t* pairs, int64_t count);
    void flushBlock(int64_t lastRow);
    const uint16_t* own(int column) const { return &m_syndromes[int64_t{column} * m_npar]; }
    uint16_t edge(EdgeRow row, int column) const { return m_edges[row * int64_t{CtdbWindow::Stride} + column]; }

    CtdbWindow m_window;
    int m_npar;
    int m_threads;
    int64_t m_edgesEnd;                  // word after the last edge row
    std::vector<uint16_t> m_syndromes;   // npar per column
    std::vector<uint16_t> m_edges;       // EdgeRows rows
    std::vector<uint16_t> m_block;       // whole codeword rows not yet reckoned
    int64_t m_blockFirstRow = 1;
    int64_t m_words = 0;                 // words added
    int m_pendingByte = -1;              // first byte of a word split between two Adds
};
