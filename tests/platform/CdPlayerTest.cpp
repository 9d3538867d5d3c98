#include "support/DiscImage.h"
#include "support/FakeAudioOutput.h"
#include "platform/CalvenorError.h"
#include "platform/CdPlayer.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
constexpr int FrameBytes = 4;
constexpr int FramesPerSector = DiscImage::SectorBytes / FrameBytes;

// Two audio tracks, then a data track; the reader opens the image through libcdio.
class CdPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        image.AddAudioTrack(DiscImage::NoisePcm(40, 1)).AddAudioTrack(DiscImage::NoisePcm(50, 2)).AddDataTrack(10);
        cue = image.WriteTo(dir.path());
        player.SetFileName(cue);
    }

    // The audio from the start of the disc, frames from frame on.
    QByteArray audioAt(qint64 frame, qint64 frames) const
    {
        return (image.TrackAt(1).pcm + image.TrackAt(2).pcm).mid(frame * FrameBytes, frames * FrameBytes);
    }

    QTemporaryDir dir;
    DiscImage image;
    QString cue;
    FakeAudioOutput audio;
    CdPlayer player{&audio};
};

TEST_F(CdPlayerTest, PlaysATrackFromItsFirstSectorAndHaltsBeforeTheDataTrack)
{
    player.Open();
    EXPECT_DOUBLE_EQ(player.TrackPosition(2), 40.0 / 75);
    player.Seek(player.TrackPosition(2));
    player.Play();
    ASSERT_TRUE(audio.Playing());

    const QByteArray played = audio.PlayToEnd();
    EXPECT_EQ(played.size(), image.TrackAt(2).pcm.size());
    EXPECT_TRUE(played == image.TrackAt(2).pcm);
    EXPECT_DOUBLE_EQ(player.Position(), 90.0 / 75);
}

TEST_F(CdPlayerTest, PlaysOnFromTrackToTrack)
{
    player.Open();
    player.Play();
    EXPECT_TRUE(audio.PlayToEnd() == audioAt(0, 90 * FramesPerSector));
}

TEST_F(CdPlayerTest, StopKeepsThePositionAndPlayResumesThere)
{
    player.Open();
    player.Seek(0.5); // half a second falls inside a sector
    player.Play();
    EXPECT_TRUE(audio.Play(1000) == audioAt(22050, 1000));
    player.Stop();
    EXPECT_FALSE(audio.Playing());
    EXPECT_DOUBLE_EQ(player.Position(), (22050 + 1000) / 44100.0);

    player.Play();
    EXPECT_TRUE(audio.Play(FramesPerSector) == audioAt(23050, FramesPerSector)); // across tracks 1 and 2
}

TEST_F(CdPlayerTest, SeekHaltsPlayingAndCloseForgetsTheDisc)
{
    player.Open();
    player.Play();
    player.Seek(1.0);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(audio.Playing());
    EXPECT_DOUBLE_EQ(player.Position(), 1.0);

    player.Close();
    EXPECT_FALSE(player.IsOpen());
    player.Play();
    EXPECT_FALSE(audio.Playing());
}

TEST_F(CdPlayerTest, OpeningWithoutASoundOutputFailsWithAFrenchMessage)
{
    const QString expected =
        QStringLiteral("Aucune sortie son n'est disponible sur cet ordinateur : impossible d'écouter la piste.");
    audio.available = false;
    try {
        player.Open();
        FAIL() << "no error";
    } catch (const CalvenorError& e) {
        EXPECT_EQ(e.message(), expected);
    }
    EXPECT_FALSE(player.IsOpen());

    CdPlayer silent(nullptr);
    silent.SetFileName(cue);
    EXPECT_THROW(silent.Open(), CalvenorError);
}

TEST_F(CdPlayerTest, AnImageWithoutItsBinCannotBeOpened)
{
    QFile::remove(dir.filePath(QStringLiteral("disc.bin")));
    try {
        player.Open();
        FAIL() << "no error";
    } catch (const CalvenorError& e) {
        EXPECT_TRUE(e.message().contains(dir.filePath(QStringLiteral("disc.bin")))) << e.message().toStdString();
    }
    EXPECT_FALSE(player.IsOpen());
    EXPECT_FALSE(player.HoldsAudioDisc(cue));
}

TEST_F(CdPlayerTest, HoldsAnAudioDiscOnlyWhenTrackOneIsAudio)
{
    EXPECT_TRUE(player.HoldsAudioDisc(cue));
    EXPECT_FALSE(player.HoldsAudioDisc(QString()));

    DiscImage dataFirst;
    dataFirst.AddDataTrack(10).AddAudioTrack(DiscImage::NoisePcm(10, 3));
    EXPECT_FALSE(player.HoldsAudioDisc(dataFirst.WriteTo(dir.path(), QStringLiteral("mixed"))));
}
} // namespace
