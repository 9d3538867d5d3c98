#include "platform/CdPlayer.h"
#include "support/DiscImage.h"
#include "support/FakeAudioOutput.h"
#include "support/MainFormFixture.h"
#include "support/MouseInput.h"
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include "disc/AlbumSheet.h"
#include <QTreeView>
#include <gtest/gtest.h>

namespace {
constexpr int FramesPerSecond = 44100;
constexpr int FrameBytes = 4;
constexpr int SectorsPerSecond = 75;

// The main window over a disc image in drive d: whose tracks are listed.
class PreviewPlaybackTest : public MainFormFixture {
protected:
    void SetUp() override
    {
        MainFormFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        services.audioOutput = &audio;
        open();
        image.AddAudioTrack(DiscImage::NoisePcm(25 * SectorsPerSecond, 1))
            .AddAudioTrack(DiscImage::NoisePcm(150, 2))
            .AddAudioTrack(DiscImage::NoisePcm(150, 3));
        insert(image);
    }

    void insert(const DiscImage& disc)
    {
        drives.sources[u'd'] = disc.WriteTo(dir.path());
        QList<uint32_t> starts;
        for (const DiscImage::Track& t : disc.Tracks())
            starts << uint32_t(t.firstSector);
        cdRip.SetAudioToc(starts, uint32_t(disc.LeadOutSector()));
        choose(0);
    }

    void select(int slot) { form->SelectRow(slot); }
    void play(int slot)
    {
        select(slot);
        MouseInput::Click(form->Play_Blue);
    }

    // Shown blue buttons, as "play pause stop" with a dash for a hidden one.
    QString buttons() const
    {
        QStringList b;
        b << (form->Play_Blue->isHidden() ? "-" : "play") << (form->Pause_Blue->isHidden() ? "-" : "pause")
          << (form->Stop_Blue->isHidden() ? "-" : "stop");
        return b.join(' ');
    }

    QByteArray pcmAt(int track, double seconds, qint64 frames) const
    {
        return image.TrackAt(track).pcm.mid(qint64(seconds * FramesPerSecond) * FrameBytes, frames * FrameBytes);
    }

    QTemporaryDir dir;
    DiscImage image;
    FakeAudioOutput audio;
};

TEST_F(PreviewPlaybackTest, ButtonsStartInactiveAndASelectionMakesThemReady)
{
    EXPECT_EQ(buttons(), "- - -");
    select(1);
    EXPECT_EQ(buttons(), "play - -");
}

TEST_F(PreviewPlaybackTest, PlayStartsTheSelectedRowsTrackAtItsFirstSector)
{
    play(3);
    ASSERT_TRUE(audio.Playing());
    EXPECT_EQ(buttons(), "- pause stop");
    EXPECT_EQ(form->lecteur().FileName(), drives.sources[u'd']);
    EXPECT_TRUE(audio.Play(2000) == pcmAt(3, 0, 2000));
    EXPECT_DOUBLE_EQ(form->lecteur().Position(), form->lecteur().TrackPosition(3) + 2000.0 / FramesPerSecond);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(PreviewPlaybackTest, TheForwardButtonSkipsTenSecondsTwiceAndKeepsPlaying)
{
    play(1);
    audio.Play(FramesPerSecond);

    MouseInput::Click(form->Pause_Blue);
    ASSERT_TRUE(audio.Playing());
    EXPECT_DOUBLE_EQ(form->lecteur().Position(), 11.0);
    EXPECT_TRUE(audio.Play(FramesPerSecond) == pcmAt(1, 11, FramesPerSecond));

    MouseInput::Click(form->Pause_Blue);
    ASSERT_TRUE(audio.Playing());
    EXPECT_DOUBLE_EQ(form->lecteur().Position(), 22.0);
    EXPECT_TRUE(audio.Play(1000) == pcmAt(1, 22, 1000));
    EXPECT_EQ(buttons(), "- pause stop");
}

TEST_F(PreviewPlaybackTest, StopHaltsAndClosesThePlayer)
{
    play(2);
    MouseInput::Click(form->Stop_Blue);
    EXPECT_FALSE(audio.Playing());
    EXPECT_FALSE(form->lecteur().IsOpen());
    EXPECT_EQ(buttons(), "play - -");
}

TEST_F(PreviewPlaybackTest, ASelectionChangeStopsAndClosesThenPlayTakesTheNewTrack)
{
    play(1);
    select(2);
    EXPECT_FALSE(audio.Playing());
    EXPECT_FALSE(form->lecteur().IsOpen());
    EXPECT_EQ(buttons(), "play - -");

    MouseInput::Click(form->Play_Blue);
    EXPECT_TRUE(audio.Play(1000) == pcmAt(2, 0, 1000));
}

TEST_F(PreviewPlaybackTest, LeavingTheListStopsWithoutClosing)
{
    form->show();
    QApplication::setActiveWindow(form.get());
    form->CibleFiles->setFocus(Qt::OtherFocusReason);
    play(1);
    ASSERT_TRUE(form->CibleFiles->hasFocus());

    form->Button1->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(audio.Playing());
    EXPECT_TRUE(form->lecteur().IsOpen());
    EXPECT_EQ(buttons(), "- - -");
}

TEST_F(PreviewPlaybackTest, TheKeyboardGoesFromTheListToThePlayerAndBack)
{
    const auto press = [](int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(QApplication::focusWidget(), &event);
    };
    form->show();
    QApplication::setActiveWindow(form.get());
    form->CibleFiles->setFocus(Qt::OtherFocusReason);
    select(1);

    press(Qt::Key_Tab);
    ASSERT_TRUE(form->Play_Blue->hasFocus()) << "the player pictures follow the list";
    EXPECT_EQ(buttons(), "play - -");
    press(Qt::Key_Space);
    EXPECT_TRUE(audio.Playing());
    EXPECT_EQ(buttons(), "- pause stop");
    EXPECT_TRUE(form->Pause_Blue->hasFocus()) << "the focus stays with the player";

    press(Qt::Key_Tab);
    ASSERT_TRUE(form->Stop_Blue->hasFocus());
    press(Qt::Key_Return);
    EXPECT_FALSE(form->lecteur().IsOpen());
    EXPECT_EQ(buttons(), "play - -");
    EXPECT_TRUE(form->Play_Blue->hasFocus());

    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->DirectoryText);
    EXPECT_EQ(buttons(), "- - -") << "leaving the list and its player";

    // Round the window once more: the list, then its player again.
    for (int i = 0; i < 40 && !form->CibleFiles->hasFocus(); ++i)
        press(Qt::Key_Tab);
    ASSERT_TRUE(form->CibleFiles->hasFocus());
    press(Qt::Key_Tab);
    EXPECT_TRUE(form->Play_Blue->hasFocus()) << "every pass, not only the first";
}

TEST_F(PreviewPlaybackTest, ClosingTheMainWindowStops)
{
    play(1);
    form->close();
    EXPECT_FALSE(audio.Playing());
    EXPECT_FALSE(form->lecteur().IsOpen());
}

TEST_F(PreviewPlaybackTest, PlayWithoutASelectedRowDoesNothing)
{
    select(1);
    form->CibleFiles->clearSelection();
    ASSERT_EQ(buttons(), "play - -");
    MouseInput::Click(form->Play_Blue);
    EXPECT_EQ(audio.starts, 0);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(buttons(), "play - -");
}

TEST_F(PreviewPlaybackTest, ADiscWithoutAnAudioFirstTrackIsNotPlayed)
{
    DiscImage mixed;
    mixed.AddDataTrack(20).AddAudioTrack(DiscImage::NoisePcm(150, 4));
    insert(mixed);
    play(1);
    EXPECT_EQ(audio.starts, 0);
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("Impossible de lire cette piste. Cela n'empeche pas le rippage mais il n'est "
                                         "pas encore possible dans cette version de lire cette piste...")});
    EXPECT_EQ(dialogs.shown.first().kind, MsgKind::Information);
    EXPECT_EQ(buttons(), "play - -");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PreviewPlaybackTest, WithoutASoundOutputTheGeneralErrorDisplayExplains)
{
    audio.available = false;
    play(1);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Aucune sortie son n'est disponible sur cet ordinateur : "
                                                            "impossible d'écouter la piste.")});
    EXPECT_EQ(dialogs.shown.first().kind, MsgKind::Error);
    EXPECT_EQ(buttons(), "play - -");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
} // namespace
