#include "platform/Crc32.h"
#include "rip/CtdbParity.h"
#include "rip/CtdbRepair.h"
#include "rip/CtdbSyndromes.h"
#include "rip/CtdbWindow.h"
#include "support/DotNetRandom.h"
#include <QByteArray>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

// The database's published parity test: a disc of 9801 sectors of noise
// from DotNetRandom(2423), its window's CRC-32 and the syndromes of its
// first four columns; rips of it read early or late, with samples damaged.
namespace {
using Pcm = std::vector<uint8_t>;
using Outcome = CtdbRepair::Outcome;

constexpr int Stride = CtdbWindow::Stride;
constexpr int64_t DiscSamples = 9801 * 588;
constexpr int Lead = 32 * 588; // the disc starts this far into the noise
constexpr uint32_t PublishedCrc = 377539636;
constexpr int PublishedErrors = Stride / 4;

// npar 16, row by row for the first four columns: at offset 0, and for a
// rip whose sample k is the disc's k + 48 or k − 48.
const char* const PublishedSyndromes =
    "DP5e7sS+kHjtAEb/o599As2tA3puoW+wuWA5hT1cZxCBRs0bU7Ow3jyLb97/pW1Yjt6H3pph7zKa+hFsT6Wct1r7IciaQ8QUhvzxCof3sJEnJZER"
    "L/LnLGrfbjkmdw6wZ0PJjSD5cmwGKFvLpslT/OYwc5M3fbmmFmVDJWRvQdE=";
const char* const PublishedSyndromesPlus48 =
    "x5gK5qlKM0HjrEEWOVHQX5VRqD0FtDWGqO/JP2ArcdR0yxE04pdR6B06J3iXbKv9CghrqvNiq+AlMAVWr/pm7bp5s3s+v5Bo3oYpQymmtd0FDKaZ"
    "4GQhi9yDu0Vm22j0Cllf5fLPFixhRMCBN/3S3t8IeHtVfmo5Vw0icN7OTHo=";
const char* const PublishedSyndromesMinus48 =
    "wDLTEG5XPVhGlH8fuucGl8St2G/jGLyN3dByVGzOWeZ0CzI1M9jJq4DLj8A3XsMh8u80yvCq36SHXU+iO5cpVcfyiu08pqO1PjPUynqQa/aOcjbF"
    "hwjaEZePD42rQCBVdhViBeBEYzMhCTKroorw/Tt0AFC+NlRCMOsUmzSlsRU=";
// The systematic encoder's parity words, column by column from column 0.
const char* const PublishedParity8 =
    "jvR9QJ1cSWpqbyP0I0tBrBkQRjCDTDDQkttZGj14ROvsXyg+AnnxVKxL7gwLZbrQmTw5ZPps1Q3744g94qaOOQ==";
const char* const PublishedParity16 =
    "gwln1GxlYWH/Jn74PreMLv4aFF2glkScSWVFlxMBx94v5D3/3wPx+2guRLquED0s9tOFikPLiSnAv0Xq8aIQ6Q==";

uint16_t word(const QByteArray& bytes, int k)
{
    return static_cast<uint16_t>(uint8_t(bytes[2 * k]) | uint8_t(bytes[2 * k + 1]) << 8);
}

// Row i, column c of a published table of four columns.
uint16_t published(const char* base64, int i, int column)
{
    return word(QByteArray::fromBase64(base64), i * 4 + column);
}

// The published rip: the disc read with its sample k being the disc's
// k + offset, then errors samples at places drawn by DotNetRandom(2423)
// (again from its start), each of its four bytes XORed in turn with a draw.
Pcm noise(int64_t skippedSamples, int64_t samples)
{
    Pcm bytes(4 * (skippedSamples + samples));
    DotNetRandom(2423).NextBytes(bytes.data(), bytes.size());
    return Pcm(bytes.begin() + 4 * skippedSamples, bytes.end());
}

Pcm publishedRip(int offset, int errors)
{
    Pcm rip = noise(Lead + offset, DiscSamples);
    DotNetRandom draws(2423);
    std::vector<int> places(errors);
    for (int& place : places)
        place = draws.Next(0, static_cast<int>(DiscSamples));
    std::sort(places.begin(), places.end());
    DotNetRandom masks(2423);
    for (int place : places)
        for (int b = 0; b < 4; ++b)
            rip[4 * int64_t{place} + b] ^= static_cast<uint8_t>(masks.Next(1, 255));
    return rip;
}

CtdbSyndromes syndromesOf(const Pcm& rip, int npar)
{
    CtdbSyndromes syndromes(DiscSamples, npar);
    syndromes.Add(rip.data(), static_cast<int64_t>(rip.size()));
    return syndromes;
}

CtdbParity parityFrom(const std::vector<uint8_t>& rows, int npar)
{
    return *CtdbParity::FromSyndromeRows(rows.data(), static_cast<int64_t>(rows.size()), npar);
}

uint32_t windowCrc(const Pcm& rip, int offset)
{
    const CtdbWindow window(static_cast<int64_t>(rip.size() / 4));
    Crc32 crc;
    crc.Add(rip.data() + window.FirstByte(offset), window.EndByte(offset) - window.FirstByte(offset));
    return crc.Value();
}

class CtdbRepairTest : public ::testing::Test {
protected:
    // The disc's own syndromes, checked against the published ones, stand
    // for the database's rows.
    static void SetUpTestSuite()
    {
        disc = new Pcm(publishedRip(0, 0));
        rows = new std::vector<uint8_t>(syndromesOf(*disc, 16).SyndromeRows());
    }
    static void TearDownTestSuite()
    {
        delete disc;
        delete rows;
    }

    static CtdbRepair::Plan repair(Pcm& rip, int npar)
    {
        const CtdbRepair::Plan plan = CtdbRepair::Find(syndromesOf(rip, npar), parityFrom(*rows, npar));
        CtdbRepair::Apply(plan.Corrections, rip.data(), 0, static_cast<int64_t>(rip.size()));
        return plan;
    }

    static inline Pcm* disc = nullptr;
    static inline std::vector<uint8_t>* rows = nullptr;
};

// Also published: 10 minutes of the same noise from its start, a whole
// number of rows.
TEST_F(CtdbRepairTest, WindowCrcIsPublished)
{
    EXPECT_EQ(windowCrc(*disc, 0), PublishedCrc);
    EXPECT_EQ(windowCrc(noise(0, 10 * 60 * 44100), 0), 2278257733u);
}

// At offset −48 the disc gives the syndromes of a rip whose sample k is the
// disc's k + 48, published as such, and the reverse.
TEST_F(CtdbRepairTest, SyndromesAtOffsetsArePublished)
{
    const auto syndromes = syndromesOf(*disc, 16);
    const struct {
        int offset;
        const char* table;
    } cases[] = {{0, PublishedSyndromes}, {-48, PublishedSyndromesPlus48}, {48, PublishedSyndromesMinus48}};
    for (const auto& c : cases) {
        for (int column = 0; column < 4; ++column) {
            uint16_t s[16];
            syndromes.At(column, c.offset, s);
            for (int i = 0; i < 16; ++i)
                EXPECT_EQ(s[i], published(c.table, i, column)) << c.offset << " " << column << " " << i;
        }
    }
}

TEST_F(CtdbRepairTest, ParityColumnsGiveThePublishedSyndromes)
{
    for (const auto& [npar, parity] : {std::pair{8, PublishedParity8}, std::pair{16, PublishedParity16}}) {
        QByteArray columns = QByteArray::fromBase64(parity);
        const int known = static_cast<int>(columns.size()) / (2 * npar);
        columns.resize(2 * Stride * npar, '\0');
        const auto database =
            CtdbParity::FromParityColumns(reinterpret_cast<const uint8_t*>(columns.constData()), columns.size(), npar);
        ASSERT_TRUE(database);
        for (int column = 0; column < known; ++column)
            for (int i = 0; i < npar; ++i)
                EXPECT_EQ(database->Column(column)[i], published(PublishedSyndromes, i, column)) << npar << " " << column;
    }
}

// The entry's syndrome value is column 0's; a shorter table checks its own.
TEST_F(CtdbRepairTest, EntrySyndromeMatchesTheRows)
{
    const QByteArray table = QByteArray::fromBase64(PublishedSyndromes);
    QByteArray sample;
    for (int i = 0; i < 16; ++i)
        sample += table.mid(8 * i, 2);
    const auto* bytes = reinterpret_cast<const uint8_t*>(sample.constData());
    EXPECT_TRUE(parityFrom(*rows, 16).Matches(bytes, sample.size()));
    EXPECT_TRUE(parityFrom(*rows, 8).Matches(bytes, sample.size()));
    sample[31] = char(sample[31] ^ 1);
    EXPECT_FALSE(parityFrom(*rows, 16).Matches(bytes, sample.size()));
}

// The published rips, early, late and damaged, found at their offset and
// mended to the published CRC; the farthest offsets both ways.
TEST_F(CtdbRepairTest, MendsPublishedRips)
{
    const struct {
        int offset;
        int errors;
        int npar;
        Outcome outcome;
    } cases[] = {
        {48, 0, 16, Outcome::Clean},
        {0, PublishedErrors, 16, Outcome::Repairable},
        {48, PublishedErrors, 16, Outcome::Repairable},
        {-48, PublishedErrors, 8, Outcome::Repairable},
        {CtdbWindow::MaxOffset, PublishedErrors, 16, Outcome::Repairable},
        {-CtdbWindow::MaxOffset, PublishedErrors, 16, Outcome::Repairable},
    };
    for (const auto& c : cases) {
        Pcm rip = publishedRip(c.offset, c.errors);
        const CtdbRepair::Plan plan = repair(rip, c.npar);
        EXPECT_EQ(plan.Kind, c.outcome) << c.offset;
        EXPECT_EQ(plan.Offset, c.offset);
        EXPECT_EQ(windowCrc(rip, c.offset), PublishedCrc) << c.offset;
    }
}

// Consecutive sectors damage every word: 10 sectors are one word per
// column, so npar/2 words per column mend 5·npar sectors, not one more.
TEST_F(CtdbRepairTest, MendsABurstUpToCapacityAndNotBeyond)
{
    const struct {
        int sectors;
        int npar;
        Outcome outcome;
    } cases[] = {{40, 8, Outcome::Repairable}, {41, 8, Outcome::TooDamaged}, {80, 16, Outcome::Repairable},
                 {81, 16, Outcome::TooDamaged}};
    for (const auto& c : cases) {
        Pcm rip = *disc;
        DotNetRandom masks(c.sectors);
        const int64_t first = 4 * (100 * 588 + 123);
        for (int64_t b = first; b < first + c.sectors * 2352; b += 2) {
            const int mask = masks.Next(1, 65536);
            rip[b] ^= static_cast<uint8_t>(mask & 0xFF);
            rip[b + 1] ^= static_cast<uint8_t>(mask >> 8);
        }
        const Pcm damaged = rip;
        const CtdbRepair::Plan plan = repair(rip, c.npar);
        EXPECT_EQ(plan.Kind, c.outcome) << c.sectors;
        EXPECT_EQ(plan.Offset, 0);
        if (c.outcome == Outcome::Repairable) {
            EXPECT_EQ(plan.Samples(), c.sectors * 588);
            EXPECT_TRUE(rip == *disc) << c.sectors;
        } else {
            EXPECT_TRUE(plan.Corrections.empty());
            EXPECT_TRUE(rip == damaged) << c.sectors;
        }
    }
}

TEST_F(CtdbRepairTest, AnotherDiscHasNoOffset)
{
    Pcm other(4 * DiscSamples);
    DotNetRandom(1).NextBytes(other.data(), other.size());
    EXPECT_EQ(repair(other, 8).Kind, Outcome::NoOffset);
}
} // namespace
