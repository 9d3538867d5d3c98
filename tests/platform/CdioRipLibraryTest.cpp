#include "support/DiscImage.h"
#include "platform/CdioRipLibrary.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

namespace {
constexpr int SectorBytes = DiscImage::SectorBytes;

struct Rip {
    int32_t openResult = CR_FAILURE;
    int32_t bufferSize = 0;
    QByteArray pcm;
    std::vector<int32_t> results;
    std::vector<int32_t> percents;
    std::vector<std::pair<uint32_t, uint32_t>> jitterPositions;
};

// Reads a range the way the ripper component does, with a guard against a
// library that never finishes.
Rip ripRange(CdioRipLibrary& lib, int32_t first, int32_t last)
{
    Rip rip;
    rip.openResult = lib.CR_OpenRipper(&rip.bufferSize, first, last);
    if (rip.openResult == CR_FAILURE)
        return rip;
    std::vector<uint8_t> buffer(static_cast<size_t>(rip.bufferSize));
    const int maxChunks = (last - first) / CdioRipLibrary::ChunkSectors + 3;
    for (int i = 0; i < maxChunks; ++i) {
        int32_t bytes = -1;
        const int32_t r = lib.CR_RipChunk(buffer.data(), &bytes);
        rip.results.push_back(r);
        EXPECT_LE(bytes, rip.bufferSize);
        if (r != CR_FAILURE)
            rip.pcm.append(reinterpret_cast<const char*>(buffer.data()), bytes);
        if (r == CR_JITTER_ERROR) {
            uint32_t a = 0, b = 0;
            lib.CR_GetLastJitterErrorPosition(&a, &b);
            rip.jitterPositions.emplace_back(a, b);
        }
        rip.percents.push_back(lib.CR_GetPercentCompleted());
        if (r == CR_RANGE_DONE || r == CR_FAILURE)
            break;
    }
    return rip;
}

void setOutputFormat(CdioRipLibrary& lib, TOutputFormat format)
{
    TCDRomParams p;
    ASSERT_EQ(lib.CR_GetCDROMParameters(&p), CR_OK);
    p.set32(TCDRomParams::OutputFormatOffset, format);
    ASSERT_EQ(lib.CR_SetCDROMParameters(&p), CR_OK);
}

// Frame n: left 1000, 1002, 1004, 1006 by n mod 4; right -2000.
QByteArray steppedPcm(int sectors)
{
    QByteArray pcm(sectors * SectorBytes, '\0');
    for (int n = 0; n < sectors * SectorBytes / 4; ++n) {
        const int16_t left = static_cast<int16_t>(1000 + 2 * (n % 4));
        const int16_t right = -2000;
        memcpy(pcm.data() + 4 * n, &left, 2);
        memcpy(pcm.data() + 4 * n + 2, &right, 2);
    }
    return pcm;
}

std::vector<int16_t> samplesOf(const QByteArray& pcm)
{
    std::vector<int16_t> s;
    for (int i = 0; i + 1 < pcm.size(); i += 2)
        s.push_back(static_cast<int16_t>(static_cast<uint8_t>(pcm[i]) | static_cast<uint8_t>(pcm[i + 1]) << 8));
    return s;
}

class CdioRipLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QTemporaryDir dir;
};
} // namespace

TEST_F(CdioRipLibraryTest, AudioDiscTocAndEveryTrackRippedExactly)
{
    DiscImage image;
    image.AddAudioTrack(DiscImage::NoisePcm(100, 11))
        .AddAudioTrack(DiscImage::SinePcm(52, 1000), DiscImage::CopyPermitted)
        .AddAudioTrack(DiscImage::NoisePcm(31, 12), DiscImage::CopyPermitted | DiscImage::PreEmphasis);
    CdioRipLibrary lib({image.WriteTo(dir.path())});

    EXPECT_EQ(lib.CR_Init(), CR_OK);
    EXPECT_EQ(lib.CR_GetActiveCDROM(), 0);
    ASSERT_EQ(lib.CR_ReadToc(), CR_OK);
    ASSERT_EQ(lib.CR_GetNumTocEntries(), 3);
    for (int i = 0; i < 3; ++i) {
        const TTocEntry e = lib.CR_GetTocEntry(i);
        EXPECT_EQ(e.dwStartSector, static_cast<uint32_t>(image.Tracks().at(i).firstSector)) << i;
        EXPECT_EQ(e.btFlag, TOC_FLAG_AUDIO) << "copy and pre-emphasis bits never make data, track " << i + 1;
        EXPECT_EQ(e.btTrackNumber, i + 1);
    }
    EXPECT_EQ(lib.CR_GetTocEntry(3).dwStartSector, static_cast<uint32_t>(image.LeadOutSector()));

    for (const DiscImage::Track& t : image.Tracks()) {
        const Rip rip = ripRange(lib, t.firstSector, t.lastSector);
        ASSERT_EQ(rip.openResult, CR_OK);
        EXPECT_EQ(rip.bufferSize, CdioRipLibrary::ChunkSectors * SectorBytes);
        EXPECT_TRUE(rip.pcm == t.pcm) << "track from sector " << t.firstSector;
        ASSERT_FALSE(rip.results.empty());
        EXPECT_EQ(rip.results.back(), CR_RANGE_DONE);
        for (size_t i = 0; i + 1 < rip.results.size(); ++i)
            EXPECT_EQ(rip.results[i], CR_OK);
        EXPECT_EQ(rip.percents.back(), 100);
        EXPECT_EQ(lib.CR_GetNumberOfJitterErrors(), 0);
        int32_t bytes = -1;
        uint8_t sink[4];
        EXPECT_EQ(lib.CR_RipChunk(sink, &bytes), CR_FAILURE) << "nothing left after the range";
        EXPECT_EQ(bytes, 0);
        EXPECT_EQ(lib.CR_CloseRipper(), CR_OK);
    }

    // A range across a track boundary, and progress of a partial range.
    const Rip across = ripRange(lib, 90, 119);
    EXPECT_TRUE(across.pcm == image.TrackAt(1).pcm.mid(90 * SectorBytes) + image.TrackAt(2).pcm.left(20 * SectorBytes));
    EXPECT_EQ(across.percents.front(), 26 * 100 / 30);
    lib.CR_CloseRipper();
}

// The byte order guessed from noise-like audio is wrong for about half of
// these discs; the library must not rely on the guess.
TEST_F(CdioRipLibraryTest, NoiseLikeAudioIsNeverByteSwapped)
{
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        DiscImage image;
        image.AddAudioTrack(DiscImage::NoisePcm(40, seed));
        CdioRipLibrary lib({image.WriteTo(dir.path(), QStringLiteral("noise%1").arg(seed))});
        ASSERT_EQ(lib.CR_ReadToc(), CR_OK);
        EXPECT_TRUE(ripRange(lib, 0, 39).pcm == image.TrackAt(1).pcm) << "seed " << seed;
    }
}

TEST_F(CdioRipLibraryTest, DataTrackIsFlaggedAndAudioAroundItRipsExactly)
{
    DiscImage image;
    image.AddDataTrack(300).AddAudioTrack(DiscImage::NoisePcm(80, 21)).AddAudioTrack(DiscImage::NoisePcm(27, 22));
    CdioRipLibrary lib({image.WriteTo(dir.path(), "mixed")});

    ASSERT_EQ(lib.CR_ReadToc(), CR_OK);
    ASSERT_EQ(lib.CR_GetNumTocEntries(), 3);
    EXPECT_EQ(lib.CR_GetTocEntry(0).btFlag, TOC_FLAG_DATA);
    EXPECT_EQ(lib.CR_GetTocEntry(0).dwStartSector, 0u);
    EXPECT_EQ(lib.CR_GetTocEntry(1).btFlag, TOC_FLAG_AUDIO);
    EXPECT_EQ(lib.CR_GetTocEntry(1).dwStartSector, 300u);
    EXPECT_EQ(lib.CR_GetTocEntry(2).btFlag, TOC_FLAG_AUDIO);
    EXPECT_EQ(lib.CR_GetTocEntry(2).dwStartSector, 380u);
    EXPECT_EQ(lib.CR_GetTocEntry(3).dwStartSector, 407u);

    for (int n : {2, 3}) {
        const DiscImage::Track& t = image.TrackAt(n);
        const Rip rip = ripRange(lib, t.firstSector, t.lastSector);
        EXPECT_TRUE(rip.pcm == t.pcm) << "track " << n;
        EXPECT_EQ(rip.results.back(), CR_RANGE_DONE);
    }
    int32_t size = 0;
    EXPECT_EQ(lib.CR_OpenRipper(&size, 0, 299), CR_FAILURE) << "the data track is no audio";
    EXPECT_EQ(lib.CR_OpenRipper(&size, 300, 407), CR_FAILURE) << "past the lead-out";
    EXPECT_EQ(lib.CR_OpenRipper(&size, 320, 310), CR_FAILURE) << "reversed range";
}

TEST_F(CdioRipLibraryTest, SixOutputFormatsConvertKnownPcm)
{
    DiscImage image;
    image.AddAudioTrack(steppedPcm(30));
    CdioRipLibrary lib({image.WriteTo(dir.path())});
    ASSERT_EQ(lib.CR_ReadToc(), CR_OK);

    struct Case {
        TOutputFormat format;
        int bytes;
        std::vector<int16_t> pattern; // repeats over the whole output
    };
    const Case cases[] = {
        {STEREO44100, 30 * 2352, {1000, -2000, 1002, -2000, 1004, -2000, 1006, -2000}},
        {MONO44100, 30 * 1176, {-500, -499, -498, -497}},
        {STEREO22050, 30 * 1176, {1001, -2000, 1005, -2000}},
        {MONO22050, 30 * 588, {-500, -498}},
        {STEREO11025, 30 * 588, {1003, -2000}},
        {MONO11025, 30 * 294, {-499}},
    };
    for (const Case& c : cases) {
        setOutputFormat(lib, c.format);
        const Rip rip = ripRange(lib, 0, 29);
        ASSERT_EQ(rip.openResult, CR_OK);
        EXPECT_EQ(rip.pcm.size(), c.bytes) << "format " << c.format;
        EXPECT_EQ(rip.bufferSize, c.bytes / 30 * CdioRipLibrary::ChunkSectors);
        EXPECT_EQ(rip.results.back(), CR_RANGE_DONE);
        const std::vector<int16_t> samples = samplesOf(rip.pcm);
        int wrong = 0;
        for (size_t i = 0; i < samples.size(); ++i)
            wrong += samples[i] != c.pattern[i % c.pattern.size()];
        EXPECT_EQ(wrong, 0) << "format " << c.format;
        lib.CR_CloseRipper();
    }
}

TEST_F(CdioRipLibraryTest, ParameterRecordPerDrive)
{
    DiscImage one, two;
    one.AddAudioTrack(DiscImage::SinePcm(40, 440));
    two.AddAudioTrack(DiscImage::SinePcm(20, 440)).AddAudioTrack(DiscImage::SinePcm(20, 880));
    CdioRipLibrary lib({one.WriteTo(dir.path(), "one"), two.WriteTo(dir.path(), "two")});

    TCDRomParams p;
    p.bytes.fill(0xEE);
    ASSERT_EQ(lib.CR_GetCDROMParameters(&p), CR_OK);
    EXPECT_EQ(p.get32(TCDRomParams::JitterCorrectionOffset), -1);
    const int32_t table[] = {GENERIC, READMMC, SPEEDMMC, LITTLEENDIAN, ENABLENONE, 0, -1};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(p.get32(TCDRomParams::DriveTableOffset + 4 * i), table[i]) << i;
    EXPECT_EQ(p.get32(TCDRomParams::OutputFormatOffset), STEREO44100);

    // The record handed back is kept, bytes the library does not use included.
    p.bytes[10] = 0x5A;
    p.set32(TCDRomParams::OutputFormatOffset, MONO22050);
    ASSERT_EQ(lib.CR_SetCDROMParameters(&p), CR_OK);
    p.set32(TCDRomParams::OutputFormatOffset, 6);
    EXPECT_EQ(lib.CR_SetCDROMParameters(&p), CR_FAILURE);
    TCDRomParams back;
    ASSERT_EQ(lib.CR_GetCDROMParameters(&back), CR_OK);
    EXPECT_EQ(back.bytes[10], 0x5A);
    EXPECT_EQ(back.get32(TCDRomParams::OutputFormatOffset), MONO22050);

    // Each drive has its own record and disc; the active drive stays until changed.
    EXPECT_EQ(lib.CR_SetActiveCDROM(2), CR_FAILURE);
    EXPECT_EQ(lib.CR_SetActiveCDROM(-1), CR_FAILURE);
    EXPECT_EQ(lib.CR_GetActiveCDROM(), 0);
    ASSERT_EQ(lib.CR_SetActiveCDROM(1), CR_OK);
    EXPECT_EQ(lib.CR_GetActiveCDROM(), 1);
    ASSERT_EQ(lib.CR_GetCDROMParameters(&back), CR_OK);
    EXPECT_EQ(back.get32(TCDRomParams::OutputFormatOffset), STEREO44100);
    ASSERT_EQ(lib.CR_ReadToc(), CR_OK);
    EXPECT_EQ(lib.CR_GetNumTocEntries(), 2);
    EXPECT_EQ(lib.CR_GetTocEntry(1).dwStartSector, 20u);
}

TEST_F(CdioRipLibraryTest, MissingSourcesFail)
{
    CdioRipLibrary none({});
    EXPECT_EQ(none.CR_Init(), CR_FAILURE);
    TCDRomParams p;
    EXPECT_EQ(none.CR_GetCDROMParameters(&p), CR_FAILURE);
    EXPECT_EQ(none.CR_ReadToc(), CR_FAILURE);

    CdioRipLibrary missing({dir.filePath("nothing.cue")});
    EXPECT_EQ(missing.CR_Init(), CR_OK);
    EXPECT_EQ(missing.CR_ReadToc(), CR_FAILURE);
    EXPECT_EQ(missing.CR_GetNumTocEntries(), 0);
    EXPECT_TRUE(missing.LastError().contains("nothing.cue"));
    int32_t size = 0;
    EXPECT_EQ(missing.CR_OpenRipper(&size, 0, 10), CR_FAILURE);
    uint8_t buffer[16];
    int32_t bytes = -1;
    EXPECT_EQ(missing.CR_RipChunk(buffer, &bytes), CR_FAILURE) << "no ripper open";
    EXPECT_EQ(bytes, 0);

    // A cue sheet whose .bin is not named after it.
    const QString cue = DiscImage().AddAudioTrack(DiscImage::SinePcm(10, 440)).WriteTo(dir.path(), "named");
    ASSERT_TRUE(QFile::rename(dir.filePath("named.bin"), dir.filePath("other.bin")));
    CdioRipLibrary renamed({cue});
    EXPECT_EQ(renamed.CR_ReadToc(), CR_FAILURE);
    EXPECT_TRUE(renamed.LastError().contains("named.bin")) << renamed.LastError().toStdString();

    // An image cut short: its sheet lists tracks past the end of its audio.
    const QString cut = DiscImage().AddAudioTrack(DiscImage::SinePcm(20, 440)).AddAudioTrack(DiscImage::SinePcm(20, 880))
                            .WriteTo(dir.path(), "cut");
    ASSERT_TRUE(QFile::resize(dir.filePath("cut.bin"), 10 * 2352));
    CdioRipLibrary truncated({cut});
    EXPECT_EQ(truncated.CR_ReadToc(), CR_FAILURE);
    EXPECT_TRUE(truncated.LastError().contains("tronquée")) << truncated.LastError().toStdString();
}

TEST_F(CdioRipLibraryTest, SimulatedJitterIsCorrectedAndReportedWithPositions)
{
    DiscImage image;
    image.AddAudioTrack(DiscImage::NoisePcm(300, 31)).AddAudioTrack(DiscImage::NoisePcm(300, 32));
    CdioRipLibrary lib({image.WriteTo(dir.path())});
    ASSERT_EQ(lib.CR_ReadToc(), CR_OK);
    lib.SetSimulatedReadFaults(CdioRipLibrary::SimulatedSmallJitter);

    const DiscImage::Track& t = image.TrackAt(2);
    const Rip rip = ripRange(lib, t.firstSector, t.lastSector);
    EXPECT_TRUE(rip.pcm == t.pcm);
    EXPECT_EQ(rip.results.back(), CR_RANGE_DONE);
    ASSERT_FALSE(rip.jitterPositions.empty());
    for (const auto& [start, end] : rip.jitterPositions) {
        EXPECT_LE(start, end);
        EXPECT_LE(end, static_cast<uint32_t>(t.pcm.size()));
    }
    EXPECT_GE(lib.CR_GetNumberOfJitterErrors(), static_cast<int32_t>(rip.jitterPositions.size()));
    EXPECT_EQ(lib.UnreadableSectors(), 0);
    lib.CR_CloseRipper();
}

TEST_F(CdioRipLibraryTest, UnreadableSectorsAreDeliveredCountedAndNeverStallTheRip)
{
    DiscImage image;
    image.AddAudioTrack(DiscImage::NoisePcm(200, 41));
    CdioRipLibrary lib({image.WriteTo(dir.path())});
    ASSERT_EQ(lib.CR_ReadToc(), CR_OK);
    lib.SetSimulatedReadFaults(CdioRipLibrary::SimulatedUnderrun);

    const Rip rip = ripRange(lib, 0, 199);
    EXPECT_EQ(rip.results.back(), CR_RANGE_DONE) << "the rip ends despite the faults";
    EXPECT_EQ(rip.pcm.size(), 200 * SectorBytes) << "every sector is delivered";
    EXPECT_GT(lib.UnreadableSectors(), 0);
    EXPECT_GE(lib.CR_GetNumberOfJitterErrors(), lib.UnreadableSectors());
    const TReadReport report = lib.CR_GetReadReport();
    EXPECT_TRUE(report.RangeFinished);
    ASSERT_EQ(static_cast<int32_t>(report.UnreadSectors.size()), lib.UnreadableSectors());
    EXPECT_TRUE(std::is_sorted(report.UnreadSectors.begin(), report.UnreadSectors.end()));
    EXPECT_GE(report.UnreadSectors.front(), 0);
    EXPECT_LE(report.UnreadSectors.back(), 199) << "positions lie in the range read";
    lib.CR_CloseRipper();
    EXPECT_GT(lib.UnreadableSectors(), 0) << "counts stay readable after the close";
}

// A stop request ends the chunk under way after its sector; the next chunk
// reads on from there, and a new range forgets the request.
TEST_F(CdioRipLibraryTest, StopRequestEndsOneChunkOnly)
{
    DiscImage image;
    image.AddAudioTrack(DiscImage::NoisePcm(100, 3));
    CdioRipLibrary lib({image.WriteTo(dir.path())});
    ASSERT_EQ(lib.CR_ReadToc(), CR_OK);
    int32_t size = 0;
    ASSERT_EQ(lib.CR_OpenRipper(&size, 0, 99), CR_OK);
    std::vector<uint8_t> buffer(static_cast<size_t>(size));
    int32_t bytes = -1;
    lib.CR_StopReading();
    EXPECT_EQ(lib.CR_RipChunk(buffer.data(), &bytes), CR_OK);
    EXPECT_EQ(bytes, 0);
    EXPECT_EQ(lib.CR_RipChunk(buffer.data(), &bytes), CR_OK);
    EXPECT_EQ(bytes, CdioRipLibrary::ChunkSectors * SectorBytes);
    EXPECT_TRUE(QByteArray(reinterpret_cast<const char*>(buffer.data()), bytes) == image.TrackAt(1).pcm.left(bytes));

    lib.CR_StopReading();
    ASSERT_EQ(lib.CR_OpenRipper(&size, 0, 99), CR_OK);
    EXPECT_EQ(lib.CR_RipChunk(buffer.data(), &bytes), CR_OK);
    EXPECT_EQ(bytes, CdioRipLibrary::ChunkSectors * SectorBytes);
}
