#include "platform/CdPlayer.h"
#include "platform/ui/QtAudioOutput.h"
#include "support/DiscImage.h"
#include "support/NullSoundServer.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Runs the event loop until the player has played the given seconds, or gives up.
void playUntil(const CdPlayer& player, double seconds)
{
    const QDeadlineTimer guard(30000);
    while (player.Position() < seconds && !guard.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

TEST(QtAudioOutput, PlaysADiscImageOnASoundDevice)
{
    const NullSoundServer server;
    ASSERT_TRUE(server.IsRunning());
    QtAudioOutput output;
    ASSERT_TRUE(output.isAvailable());
    QTemporaryDir dir;
    DiscImage image;
    image.AddAudioTrack(DiscImage::SinePcm(75, 440)).AddAudioTrack(DiscImage::SinePcm(5 * 75, 660));
    CdPlayer player(&output);
    player.SetFileName(image.WriteTo(dir.path()));
    player.Open();
    player.Seek(player.TrackPosition(2));
    player.Play();

    const double start = player.Position();
    playUntil(player, start + 0.5);
    EXPECT_GE(player.Position(), start + 0.5);
    EXPECT_TRUE(player.IsPlaying());

    player.Stop();
    const double stopped = player.Position();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
    EXPECT_EQ(player.Position(), stopped);
}
} // namespace
