#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Reed–Solomon decoding over GF(2^16) from a codeword's syndromes. The
// words c_0 … c_(n−1) are the polynomial c(x) = Σ c_k·x^(n−1−k), the first
// word the highest power; the npar syndromes are S_i = c(α^i), i = 0 …
// npar−1, all zero for a word of the code whose generator polynomial has the
// roots α^0 … α^(npar−1). Up to npar/2 wrong words can be found and mended.
class ReedSolomon16 {
public:
    static constexpr int MaxNpar = 32;

    // A wrong word: word Index XOR Mask is the word that was sent.
    struct Error {
        int Index;
        uint16_t Mask;
    };

    // Horner's rule carried on: the syndromes of the words so far become
    // those of the same words followed by count more, each step apart.
    static void AddToSyndromes(const uint16_t* words, int64_t count, ptrdiff_t step, int npar, uint16_t* syndromes);

    // The wrong words of a codeword of length words (length + npar ≤ 65535),
    // from its syndromes: none when they are all zero, nullopt when more than
    // npar/2 words are wrong (as far as that can be told).
    static std::optional<std::vector<Error>> Errors(const uint16_t* syndromes, int npar, int length);
};
