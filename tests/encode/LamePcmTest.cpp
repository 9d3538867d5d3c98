#include "encode/LamePcm.h"
#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

namespace {
// One piece of a constant sample, at the depth and rate given.
class ConstantSource : public IPcmSource {
public:
    ConstantSource(int32_t sample, int bits, int rate) : m_sample(sample), m_bits(bits), m_rate(rate) {}
    int Channels() const override { return 1; }
    int SampleRate() const override { return m_rate; }
    int BitsPerSample() const override { return m_bits; }
    uint64_t Frames() const override { return Count; }
    bool Read(std::vector<int32_t>& samples) override
    {
        if (m_given)
            return false;
        m_given = true;
        samples.insert(samples.end(), Count, m_sample);
        return true;
    }
    double Fraction() const override { return m_given ? 1.0 : 0.0; }
    static constexpr size_t Count = 48000;

private:
    int32_t m_sample;
    int m_bits;
    int m_rate;
    bool m_given = false;
};

std::vector<int32_t> readAll(IPcmSource& source)
{
    std::vector<int32_t> all;
    while (source.Read(all)) {
    }
    return all;
}
} // namespace

TEST(LamePcm, TheRateIsTheNearestLameTakesAtOrAboveTheSources)
{
    const std::pair<int, int> cases[] = {{1000, 8000},   {8000, 8000},   {44100, 44100},
                                         {47999, 48000}, {50000, 48000}, {96000, 48000}};
    for (const auto& [source, lame] : cases)
        EXPECT_EQ(LamePcm::RateFor(source), lame) << source;
}

// 24-bit 1000.5 steps of 16 bits: dithered, each sample within one step of
// the value and their mean on it; 16 and 8 bits pass exactly.
TEST(LamePcm, DeeperSamplesAreDitheredAndShallowerOnesWidenedExactly)
{
    ConstantSource deep(1000 * 256 + 128, 24, 44100);
    LamePcm deep16(deep);
    const std::vector<int32_t> dithered = readAll(deep16);
    ASSERT_EQ(dithered.size(), ConstantSource::Count);
    for (const int32_t sample : dithered)
        ASSERT_LE(std::abs(sample * 2 - 2001), 3) << sample;
    const double mean = std::accumulate(dithered.begin(), dithered.end(), 0.0) / double(dithered.size());
    EXPECT_NEAR(mean, 1000.5, 0.02);
    EXPECT_GT(std::count(dithered.begin(), dithered.end(), 1000), 0);
    EXPECT_GT(std::count(dithered.begin(), dithered.end(), 1001), 0);

    for (const auto& [sample, bits, expected] : {std::tuple{-1234, 16, -1234}, std::tuple{-5, 8, -5 * 256}}) {
        ConstantSource shallow(sample, bits, 44100);
        LamePcm same(shallow);
        const std::vector<int32_t> out = readAll(same);
        ASSERT_EQ(out.size(), ConstantSource::Count);
        EXPECT_EQ(out.front(), expected);
        EXPECT_EQ(out.back(), expected);
    }
}

// A rate LAME does not take comes out at one it takes, the same length in time.
TEST(LamePcm, AnotherRateIsResampledToTheSameDuration)
{
    ConstantSource source(0, 16, 96000);
    LamePcm lame(source);
    EXPECT_EQ(lame.SampleRate(), 48000);
    EXPECT_EQ(lame.Frames(), ConstantSource::Count / 2);
    EXPECT_NEAR(double(readAll(lame).size()), ConstantSource::Count / 2.0, 1.0);
}
