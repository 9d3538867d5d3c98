#include "rip/CtdbSyndromes.h"
#include "rip/Gf65536.h"
#include "rip/ParallelRanges.h"
#include "rip/ReedSolomon16.h"
#include <algorithm>

namespace {
constexpr int Stride = CtdbWindow::Stride;

void copyWords(const uint8_t* pairs, int64_t count, uint16_t* to)
{
    for (int64_t k = 0; k < count; ++k)
        to[k] = static_cast<uint16_t>(pairs[2 * k] | pairs[2 * k + 1] << 8);
}
} // namespace

CtdbSyndromes::CtdbSyndromes(int64_t discSamples, int npar, int threads)
    : m_window(discSamples)
    , m_npar(npar)
    , m_threads(ParallelRanges::Threads(threads))
    , m_edgesEnd(m_window.Rows() > 0 ? (m_window.Rows() + 2) * int64_t{Stride} : 0)
    , m_syndromes(int64_t{Stride} * npar, 0)
    , m_edges(EdgeRows * int64_t{Stride}, 0)
    , m_block(int64_t{BlockRows} * Stride)
{
}

void CtdbSyndromes::Add(const uint8_t* pcm, int64_t bytes)
{
    if (bytes > 0 && m_pendingByte >= 0) {
        const uint8_t pair[2] = {static_cast<uint8_t>(m_pendingByte), pcm[0]};
        addWords(pair, 1);
        m_pendingByte = -1;
        ++pcm;
        --bytes;
    }
    addWords(pcm, bytes / 2);
    if (bytes % 2)
        m_pendingByte = pcm[bytes - 1];
}

void CtdbSyndromes::addWords(const uint8_t* pairs, int64_t count)
{
    while (count > 0 && m_words < m_edgesEnd) {
        const int64_t row = m_words / Stride;
        const int column = static_cast<int>(m_words % Stride);
        const int64_t span = std::min<int64_t>(count, Stride - column);
        keepEdges(row, column, pairs, span);
        if (row >= 1 && row <= m_window.Rows())
            addToBlock(row, column, pairs, span);
        m_words += span;
        pairs += 2 * span;
        count -= span;
    }
    m_words += count;
}

void CtdbSyndromes::keepEdges(int64_t row, int column, const uint8_t* pairs, int64_t count)
{
    const int64_t rows = m_window.Rows();
    const int64_t edgeRows[EdgeRows] = {0, 1, rows, rows + 1};
    for (int slot = 0; slot < EdgeRows; ++slot) {
        if (edgeRows[slot] != row)
            continue;
        copyWords(pairs, count, &m_edges[slot * int64_t{Stride} + column]);
    }
}

void CtdbSyndromes::addToBlock(int64_t row, int column, const uint8_t* pairs, int64_t count)
{
    copyWords(pairs, count, &m_block[(row - m_blockFirstRow) * Stride + column]);
    const bool rowDone = column + count == Stride;
    if (rowDone && (row + 1 - m_blockFirstRow == BlockRows || row == m_window.Rows()))
        flushBlock(row);
}

// Each column is its own codeword: threads take columns apart.
void CtdbSyndromes::flushBlock(int64_t lastRow)
{
    const int64_t rows = lastRow + 1 - m_blockFirstRow;
    ParallelRanges::Run(Stride, m_threads, [this, rows](int64_t first, int64_t end) {
        for (int64_t column = first; column < end; ++column)
            ReedSolomon16::AddToSyndromes(&m_block[column], rows, Stride, m_npar, &m_syndromes[column * m_npar]);
    });
    m_blockFirstRow += rows;
}

// With n = Rows() and x_r a column's word at row r of the codeword, the
// syndromes are S_i = Σ x_r·α^(i·(n−1−r)). The rip's column that holds the
// database's column at this offset is shifted by at most one row: the
// codeword then gains the word above its first row, at the highest power,
// and loses its last, or the reverse.
void CtdbSyndromes::At(int column, int offset, uint16_t* syndromes) const
{
    const int u = column - 2 * offset;
    const int top = m_window.Rows() - 1;
    if (u >= 0 && u < Stride) {
        std::copy_n(own(u), m_npar, syndromes);
    } else if (u < 0) {
        const int v = u + Stride;
        const uint16_t gained = edge(FirstLeftOut, v);
        const uint16_t lost = edge(LastKept, v);
        for (int i = 0; i < m_npar; ++i)
            syndromes[i] = Gf65536::Multiply(gained, Gf65536::Power(int64_t{i} * top))
                         ^ Gf65536::Multiply(own(v)[i] ^ lost, Gf65536::Power(-i));
    } else {
        const int v = u - Stride;
        const uint16_t lost = edge(FirstKept, v);
        const uint16_t gained = edge(LastLeftOut, v);
        for (int i = 0; i < m_npar; ++i)
            syndromes[i] = Gf65536::Multiply(own(v)[i] ^ Gf65536::Multiply(lost, Gf65536::Power(int64_t{i} * top)),
                                             Gf65536::Power(i))
                         ^ gained;
    }
}

std::vector<uint8_t> CtdbSyndromes::SyndromeRows() const
{
    std::vector<uint8_t> rows(2 * int64_t{Stride} * m_npar);
    for (int column = 0; column < Stride; ++column) {
        for (int i = 0; i < m_npar; ++i) {
            const int64_t at = 2 * (int64_t{i} * Stride + column);
            rows[at] = static_cast<uint8_t>(own(column)[i] & 0xFF);
            rows[at + 1] = static_cast<uint8_t>(own(column)[i] >> 8);
        }
    }
    return rows;
}
