#include "FakeCdAudioDevice.h"
#include "cddb/TCDDBConnect.h"
#include "cddb/TCDInfo.h"
#include "support/FakeDrives.h"
#include <gtest/gtest.h>

namespace {
// A drive d holding a disc of the given table of contents.
class DiscInfo : public ::testing::Test {
protected:
    void SetUp() override { drives.sources = {{'d', "/dev/sr0"}}; }
    TCDInfo& open(const QList<int>& starts, int leadOut)
    {
        device.tocs["/dev/sr0"] = {starts, leadOut};
        info = std::make_unique<TCDInfo>(drives, device);
        info->OpenDrive('d');
        return *info;
    }
    // Tracks whose starts are the given whole seconds; the order does not
    // matter to the checksum.
    TCDInfo& openSeconds(const QList<int>& seconds, int leadOut)
    {
        QList<int> starts;
        for (int s : seconds)
            starts << s * 75;
        return open(starts, leadOut);
    }

    FakeDrives drives;
    FakeCdAudioDevice device;
    std::unique_ptr<TCDInfo> info;
};

TEST_F(DiscInfo, WorkedExampleGivesItsIdentifierAndQuery)
{
    // Track 1 at 00:02:00, track 2 at 03:10:12, track 2 four minutes long.
    TCDInfo& disc = open({150, 14262}, 14262 + 18000 + 1);
    EXPECT_EQ(disc.TrackCount(), 2u);
    EXPECT_EQ(disc.TotalSeconds(), 428);
    EXPECT_EQ(disc.DiscId(), 0x0C01AC02u);
    EXPECT_EQ(disc.DiscIdString(), "0c01ac02");
    EXPECT_EQ(TCDDBConnect::QueryCommand(disc), "cddb+query+0c01ac02+2+150+14262+428");
    const TMsfTime length = disc.TrackLength(2);
    EXPECT_EQ(std::make_tuple(length.Minutes, length.Seconds, length.Frames), std::make_tuple(4, 0, 0));
    const TMsfTime start = disc.TrackPosition(2);
    EXPECT_EQ(std::make_tuple(start.Minutes, start.Seconds, start.Frames), std::make_tuple(3, 10, 12));
}

TEST_F(DiscInfo, PublishedTableOfContentsGivesItsPublishedIdentifier)
{
    // A ten-track disc whose table of contents and identifier are published
    // in disc identifier documentation.
    TCDInfo& disc = open({150, 18901, 39738, 59557, 79152, 100126, 124833, 147278, 166336, 182560}, 206535);
    EXPECT_EQ(disc.DiscIdString(), "830abf0a");
    EXPECT_EQ(TCDDBConnect::QueryCommand(disc),
              "cddb+query+830abf0a+10+150+18901+39738+59557+79152+100126+124833+147278+166336+182560+2751");
}

TEST_F(DiscInfo, ChecksumIsTakenModulo255)
{
    QList<int> seconds(14, 99); // digit sum 18 each: 252
    EXPECT_EQ(openSeconds(seconds + QList<int>{3}, 150 + 75 * 100).DiscId() >> 24, 0u);  // 255
    EXPECT_EQ(openSeconds(seconds + QList<int>{4}, 150 + 75 * 100).DiscId() >> 24, 1u);  // 256
    EXPECT_EQ(openSeconds(seconds + seconds + QList<int>{6}, 150 + 75 * 100).DiscId() >> 24, 0u); // 510
}

TEST_F(DiscInfo, TrackStartingInItsFirstSecondAddsNothing)
{
    TCDInfo& disc = open({10, 1500}, 3000); // 00:00:10 and 00:20:00
    EXPECT_EQ(disc.DiscId() >> 24, 2u);
    EXPECT_EQ(disc.TotalSeconds(), 40);
}

TEST_F(DiscInfo, OneTrackDiscWhoseLeadOutRollsOverToThirtyMinutes)
{
    // The last track ends at 29:59:74; its extra frame makes 30:00:00.
    TCDInfo& disc = open({150}, 30 * 4500);
    const TMsfTime length = disc.TrackLength(1);
    EXPECT_EQ(TCDInfo::MsfToFrames(length), 30 * 4500 - 150 - 1);
    EXPECT_EQ(disc.TotalSeconds(), 1800 - 2);
    EXPECT_EQ(disc.DiscIdString(), "02070601");
}

TEST_F(DiscInfo, FramesAndMsfConvertBothWays)
{
    const TMsfTime t = TCDInfo::FramesToMsf(32263);
    EXPECT_EQ(std::make_tuple(t.Minutes, t.Seconds, t.Frames), std::make_tuple(7, 10, 13));
    EXPECT_EQ(TCDInfo::MsfToFrames(t), 32263);
    const TMsfTime carried{1, 59, 75}; // a frame too many carries on
    EXPECT_EQ(TCDInfo::MsfToFrames(carried), 2 * 4500);
}

TEST_F(DiscInfo, FailuresRaiseFrenchTextsAndReleaseTheDisc)
{
    TCDInfo noLetter(drives, device);
    try {
        noLetter.OpenDrive('x');
        FAIL() << "a letter without a drive was opened";
    } catch (const CalvenorError& e) {
        EXPECT_EQ(e.message(), "Aucun lecteur de CD ne porte la lettre « x ».");
    }
    TCDInfo empty(drives, device); // no table of contents for /dev/sr0: no disc
    EXPECT_THROW(empty.OpenDrive('d'), CalvenorError);
    TCDInfo unopened(drives, device);
    EXPECT_THROW(unopened.DiscId(), CalvenorError);

    {
        TCDInfo& disc = open({150, 1000}, 2000);
        EXPECT_THROW(disc.TrackPosition(3), CalvenorError);
        info.reset();
    }
    EXPECT_EQ(device.opened, 1);
    EXPECT_EQ(device.closed, 1);
}
} // namespace
