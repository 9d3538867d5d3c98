#include "rip/Gf65536.h"
#include "rip/ReedSolomon16.h"
#include "support/DotNetRandom.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>

// Published test vectors of the database's parity code.
namespace {
// Coefficients as logarithms, −1 for zero, as the vectors give them.
std::vector<int> productOfLogs(const std::vector<int>& a, const std::vector<int>& b)
{
    std::vector<uint16_t> product(a.size() + b.size() - 1, 0);
    for (size_t i = 0; i < a.size(); ++i)
        for (size_t j = 0; j < b.size(); ++j)
            if (a[i] >= 0 && b[j] >= 0)
                product[i + j] ^= Gf65536::Power(a[i] + b[j]);
    std::vector<int> logs;
    for (uint16_t c : product)
        logs.push_back(c == 0 ? -1 : Gf65536::Log(c));
    return logs;
}

TEST(Gf65536, MultipliesPolynomialsAsPublished)
{
    EXPECT_EQ(productOfLogs({1, 2, 3}, {4, 3, 2}), (std::vector<int>{5, 33657, 33184, 33657, 5}));
    EXPECT_EQ(productOfLogs({1, 2, 3}, {4, -1, 2}), (std::vector<int>{5, 6, 1774, 4, 5}));
}

// 1024 bytes of DotNetRandom(2314), then their published parity for npar 4.
std::vector<uint8_t> publishedCodeword()
{
    std::vector<uint8_t> bytes(1024);
    DotNetRandom(2314).NextBytes(bytes.data(), bytes.size());
    bytes.insert(bytes.end(), {193, 3, 222, 151, 9, 2, 128, 246});
    return bytes;
}

// Little-endian words.
std::vector<uint16_t> syndromes(const std::vector<uint8_t>& bytes, int npar)
{
    std::vector<uint16_t> words;
    for (size_t k = 0; k < bytes.size(); k += 2)
        words.push_back(static_cast<uint16_t>(bytes[k] | bytes[k + 1] << 8));
    std::vector<uint16_t> s(npar, 0);
    ReedSolomon16::AddToSyndromes(words.data(), static_cast<int64_t>(words.size()), 1, npar, s.data());
    return s;
}

TEST(ReedSolomon16, PublishedCodewordHasZeroSyndromes)
{
    EXPECT_EQ(syndromes(publishedCodeword(), 4), std::vector<uint16_t>(4, 0));
}

// The published decoding test: two bytes in different words changed at
// random places, a thousand times over, each time found and mended.
TEST(ReedSolomon16, MendsTwoPublishedErrorsPerCodeword)
{
    const std::vector<uint8_t> sent = publishedCodeword();
    const int length = static_cast<int>(sent.size() / 2);
    std::vector<uint8_t> received = sent;
    DotNetRandom random(2314);
    std::vector<uint8_t> drawnForData(1024);
    random.NextBytes(drawnForData.data(), drawnForData.size());
    for (int round = 0; round < 1000; ++round) {
        const int first = static_cast<int>(random.NextDouble() * 1023);
        int second = static_cast<int>(random.NextDouble() * 1023);
        if (std::abs(first - second) < 4)
            second = (first + 4) % 1024;
        received[first] = static_cast<uint8_t>(random.NextDouble() * 255);
        received[second] = static_cast<uint8_t>(random.NextDouble() * 255);
        if (received[first] == sent[first])
            received[first] ^= 1;
        if (received[second] == sent[second])
            received[second] ^= 8;

        const auto errors = ReedSolomon16::Errors(syndromes(received, 4).data(), 4, length);
        ASSERT_TRUE(errors) << "round " << round;
        EXPECT_EQ(errors->size(), 2u) << "round " << round;
        for (const ReedSolomon16::Error& e : *errors) {
            received[2 * e.Index] ^= e.Mask & 0xFF;
            received[2 * e.Index + 1] ^= e.Mask >> 8;
        }
        ASSERT_EQ(received, sent) << "round " << round;
    }
}
} // namespace
