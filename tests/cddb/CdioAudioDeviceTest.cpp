#include "TestDiscs.h"
#include "cddb/TCDDBConnect.h"
#include "cddb/TCDInfo.h"
#include "platform/CalvenorError.h"
#include "platform/CdioAudioDevice.h"
#include "support/FakeDrives.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Disc images read through the real libcdio, mapped to drive d.
class ImageDisc : public ::testing::Test {
protected:
    TCDInfo& open(const QString& cue)
    {
        drives.sources = {{'d', cue}};
        info = std::make_unique<TCDInfo>(drives, device);
        info->OpenDrive('d');
        return *info;
    }

    QTemporaryDir dir;
    FakeDrives drives;
    CdioAudioDevice device;
    std::unique_ptr<TCDInfo> info;
};

TEST_F(ImageDisc, PositionsCountFromTheStartOfTheDiscAndTheLastLengthStopsShortOfTheLeadOut)
{
    const auto disc = device.Open(TestDiscs::ThreeTracks(dir.path()));
    ASSERT_EQ(disc->TrackCount(), 3);
    EXPECT_EQ(disc->TrackPosition(1), 150);
    EXPECT_EQ(disc->TrackPosition(2), 450);
    EXPECT_EQ(disc->TrackPosition(3), 900);
    EXPECT_EQ(disc->TrackLength(1), 300);
    EXPECT_EQ(disc->TrackLength(2), 450);
    EXPECT_EQ(disc->TrackLength(3), 599);
    EXPECT_THROW(disc->TrackPosition(4), CalvenorError);
    EXPECT_THROW(disc->TrackLength(0), CalvenorError);
}

TEST_F(ImageDisc, IdentifiersOfGeneratedImages)
{
    TCDInfo& three = open(TestDiscs::ThreeTracks(dir.path()));
    EXPECT_EQ(three.DiscIdString(), "0b001203");
    EXPECT_EQ(TCDDBConnect::QueryCommand(three), "cddb+query+0b001203+3+150+450+900+18");

    // Data tracks count as tracks of the disc.
    TCDInfo& enhanced = open(TestDiscs::WithDataTrack(dir.path()));
    EXPECT_EQ(enhanced.DiscIdString(), "09000c03");
}

TEST_F(ImageDisc, WorkedExampleAsAnImage)
{
    TCDInfo& disc = open(TestDiscs::WorkedExample(dir.path()));
    EXPECT_EQ(disc.DiscIdString(), "0c01ac02");
    EXPECT_EQ(TCDDBConnect::QueryCommand(disc), "cddb+query+0c01ac02+2+150+14262+428");
}

TEST_F(ImageDisc, ImageWithoutItsBinIsReportedInFrench)
{
    const QString cue = TestDiscs::ThreeTracks(dir.path());
    QFile::remove(dir.filePath("three.bin"));
    try {
        device.Open(cue);
        FAIL() << "an image without its .bin was opened";
    } catch (const CalvenorError& e) {
        EXPECT_TRUE(e.message().startsWith("Impossible d'ouvrir l'image")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(dir.filePath("three.bin"))) << e.message().toStdString();
    }
}
} // namespace
