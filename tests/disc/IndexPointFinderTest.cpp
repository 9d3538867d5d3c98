#include "cddb/FakeCdAudioDevice.h"
#include "disc/DiscToc.h"
#include "support/FakeQSubchannel.h"
#include <gtest/gtest.h>

namespace {
constexpr int LeadIn = 150;
// Tracks 1 to 4, INDEX 01 of each.
const QList<int32_t> Starts{0, 20000, 40000, 60000};
constexpr int32_t LeadOut = 80000;

// The disc's pre-gaps in sectors, from track 2 on, and its further index
// points, as {track, sectors after its INDEX 01}; shifted frames stand at a
// distance before a track's INDEX 00, given as {track, distance}.
struct Case {
    const char* what;
    QList<int32_t> gaps;
    QList<QPair<int, int32_t>> indexes;
    bool evenDamaged = false;           // frames of even sectors fail their CRC
    QList<QPair<int, int32_t>> shifted; // the frame of the sector after
    bool failing = false;
};

const Case Cases[] = {
    {"none, two seconds, an odd length", {0, 150, 37}, {{1, 5000}, {2, 1}, {2, 19000}, {4, 19999}}, false, {}, false},
    {"one frame, longer than the window, just the window", {1, 3000, 2250}, {}, false, {}, false},
    {"every other frame failing its CRC", {151, 75, 3}, {{3, 1001}}, true, {}, false},
    {"the next sector's frame just before INDEX 00", {150, 75, 2}, {}, false, {{2, 1}, {3, 1}, {3, 2}, {4, 1}},
     false},
    {"a drive that reads no Q", {150, 75, 2}, {{2, 10}}, false, {}, true},
};

class IndexPointFinderTest : public ::testing::Test {
protected:
    DiscToc read(const Case& c)
    {
        for (int k = 0; k < Starts.size(); ++k) {
            const bool gap = k > 0 && c.gaps.at(k - 1) > 0;
            q.tracks << FakeQSubchannel::Track{k + 1, gap ? pregapOf(c, k + 1) : -1, Starts.at(k), indexesOf(c, k + 1)};
        }
        q.evenDamaged = c.evenDamaged;
        for (const auto& [track, distance] : c.shifted)
            q.shifted << pregapOf(c, track) - distance;
        q.failing = c.failing;
        // What the drive's own table gives: the third track's pre-gap, a sector off.
        device.tocs["/dev/sr0"] = {{Starts.at(0) + LeadIn, Starts.at(1) + LeadIn, Starts.at(2) + LeadIn,
                                    Starts.at(3) + LeadIn},
                                   LeadOut + LeadIn,
                                   1,
                                   {},
                                   {},
                                   {-1, -1, Starts.at(2) - 1 + LeadIn}};
        device.subchannels["/dev/sr0"] = &q;
        return DiscToc::Read(device, "/dev/sr0");
    }
    static int32_t pregapOf(const Case& c, int track) { return Starts.at(track - 1) - c.gaps.at(track - 2); }
    static QList<int32_t> indexesOf(const Case& c, int track)
    {
        QList<int32_t> indexes;
        for (const auto& [number, after] : c.indexes)
            if (number == track)
                indexes << Starts.at(track - 1) + after;
        return indexes;
    }

    FakeQSubchannel q;
    FakeCdAudioDevice device;
};
} // namespace

TEST_F(IndexPointFinderTest, IndexPointsFromTheQSubchannel)
{
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.what);
        q = FakeQSubchannel();
        const DiscToc toc = read(c);
        ASSERT_EQ(toc.Tracks().size(), 4);
        for (int track = 1; track <= 4; ++track) {
            SCOPED_TRACE(track);
            const int32_t disc = track > 1 && c.gaps.at(track - 2) ? pregapOf(c, track) : -1;
            EXPECT_EQ(toc.Track(track)->pregap, c.failing ? (track == 3 ? Starts.at(2) - 1 : -1) : disc);
            EXPECT_EQ(toc.Track(track)->indexes, c.failing ? QList<int32_t>() : indexesOf(c, track));
        }
        // Binary searches: a few dozen reads a track at most, not a scan.
        EXPECT_LE(q.reads, c.failing ? 6 : 4 * 40);
    }
}

// Read for a window, the table keeps the drive's own gaps, has no codes yet
// and the Q sub-channel is left alone; ReadCodes and FindIndexPoints then give
// what a whole read gives.
TEST_F(IndexPointFinderTest, LaterLeavesTheQSubchannelUntilAsked)
{
    const Case& c = Cases[0];
    const DiscToc whole = read(c);
    device.tocs["/dev/sr0"].isrcs = {"FRZ039800212", "", "USRC17607839", ""};
    device.tocs["/dev/sr0"].mcn = "0724384960650";
    q.reads = 0;
    DiscToc later = DiscToc::Read(device, "/dev/sr0", DiscToc::Subchannel::Later);
    EXPECT_EQ(q.reads, 0);
    EXPECT_EQ(later.Track(3)->pregap, Starts.at(2) - 1);
    EXPECT_TRUE(later.Track(1)->isrc.isEmpty());
    EXPECT_TRUE(later.Mcn().isEmpty());
    later.ReadCodes(device, "/dev/sr0");
    EXPECT_EQ(later.Track(3)->isrc, "USRC17607839");
    EXPECT_EQ(later.Mcn(), "0724384960650");
    EXPECT_EQ(q.reads, 0);
    later.FindIndexPoints(device, "/dev/sr0");
    for (int track = 1; track <= 4; ++track) {
        EXPECT_EQ(later.Track(track)->pregap, whole.Track(track)->pregap) << track;
        EXPECT_EQ(later.Track(track)->indexes, whole.Track(track)->indexes) << track;
    }
}
