#include "app/RememberedChoices.h"
#include "app/ui/TrackListModel.h"
#include "app/ui/TrackListRoom.h"
#include "encode/TLameCoder.h"
#include "support/MainFormFixture.h"
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>

namespace {
const QSize Smallest(700, 524);
const int TitleColumn = TrackListModel::ColumnOf(AlbumTrack::Title);
const int TargetColumn = TrackListModel::ColumnOf(AlbumTrack::Target);

// The main window shown, as a user resizes it.
class MainFormSize : public MainFormFixture {
protected:
    void SetUp() override
    {
        MainFormFixture::SetUp();
        open();
        choose(0);
        form->show();
    }
    void resizeTo(QSize size)
    {
        form->resize(size);
        QCoreApplication::processEvents();
    }
    QRect at(QWidget* w) const { return w->geometry(); }
};
} // namespace

TEST_F(MainFormSize, TheDescribedSizeIsTheFirstAndTheSmallest)
{
    EXPECT_EQ(form->size(), Smallest);
    EXPECT_EQ(form->minimumSize(), Smallest);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    resizeTo({500, 300});
    EXPECT_EQ(form->size(), Smallest);
}

// The list takes what the window gains; the controls about it keep their sides.
TEST_F(MainFormSize, TheListTakesTheRoomAndTheControlsKeepTheirSides)
{
    const QRect list = at(form->CibleFiles), ripper = at(form->Button2), folder = at(form->DirectoryText),
                cover = at(form->CoverPicture), play = at(form->Play_Blue), drives = at(form->DrivesList),
                tags = at(form->EditTagsButton), total = at(form->TotalProgress);
    const struct {
        QSize size;
    } cases[] = {{{1280, 1000}}, {{900, 600}}, {Smallest}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size.width());
        resizeTo(c.size);
        const int dx = c.size.width() - Smallest.width(), dy = c.size.height() - Smallest.height();
        EXPECT_EQ(at(form->CibleFiles), list.adjusted(0, 0, dx, dy));
        EXPECT_EQ(at(form->Button2), ripper.translated(dx, 0));
        EXPECT_EQ(at(form->Play_Blue), play.translated(dx, 0));
        EXPECT_EQ(at(form->DrivesList), drives);
        EXPECT_EQ(at(form->DirectoryText), folder.translated(0, dy).adjusted(0, 0, dx, 0));
        EXPECT_EQ(at(form->EditTagsButton), tags.translated(0, dy));
        EXPECT_EQ(at(form->TotalProgress), total.translated(0, dy).adjusted(0, 0, dx, 0));
        EXPECT_EQ(at(form->CoverPicture), cover.translated(dx, dy));
    }
}

TEST(TrackListRoom, TheTitleTakesTheRoomFirstAndGivesItBackLast)
{
    using W = TrackListRoom::Widths;
    const W least{100, 200};
    const struct {
        W now;
        int growth;
        int titleNeed;
        W shared;
    } cases[] = {
        {{100, 200}, 50, 250, {150, 200}},   // the title first, up to its need
        {{100, 200}, 580, 250, {250, 630}},  // then the target
        {{250, 630}, -430, 250, {250, 200}}, // back from the target first
        {{250, 630}, -580, 250, {100, 200}}, // then from the title
        {{250, 630}, -700, 250, {100, 200}}, // never below their widths as laid out
        {{300, 200}, 40, 250, {300, 240}},   // a title wider than it needs stays so
        {{100, 200}, 0, 250, {100, 200}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrackListRoom::Share(c.now, c.growth, least, c.titleNeed), c.shared)
            << c.now.title << "," << c.now.target << " " << c.growth;
}

TEST(TrackListRoom, NewTitlesTakeWhatTheTargetGained)
{
    using W = TrackListRoom::Widths;
    const W least{100, 200};
    const struct {
        W now;
        int titleNeed;
        W rebalanced;
    } cases[] = {
        {{100, 630}, 250, {250, 480}},
        {{100, 230}, 250, {130, 200}}, // no more than the target gained
        {{100, 200}, 250, {100, 200}},
        {{300, 630}, 250, {300, 630}}, // a title wider than it needs stays so
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrackListRoom::Rebalance(c.now, least, c.titleNeed), c.rebalanced) << c.now.target;
}

// A window that starts larger, without widths kept, shares its room as one grown so.
TEST_F(MainFormSize, AWindowStartedLargerSharesItsRoom)
{
    form.reset();
    open();
    choose(0);
    const int target = form->CibleFiles->columnWidth(TargetColumn);
    form->RestoreChoices({true, {}, false, QSize(1000, 700)});
    form->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->size(), QSize(1000, 700));
    EXPECT_EQ(form->CibleFiles->columnWidth(TargetColumn), target + 300);
    const int title = form->CibleFiles->columnWidth(TitleColumn);
    form->Sheet().SetValue(2, AlbumTrack::Title, "Premières lueurs d'un matin d'été (version longue, en public)");
    EXPECT_GT(form->CibleFiles->columnWidth(TitleColumn), title + 150) << "titles found later take their room";
    EXPECT_EQ(form->CibleFiles->columnWidth(TitleColumn) + form->CibleFiles->columnWidth(TargetColumn),
              title + target + 300);
}

TEST_F(MainFormSize, GrowingWidensTheTitlesAndShrinkingGivesTheLayoutBack)
{
    form->Sheet().SetValue(1, AlbumTrack::Title, "Premières lueurs d'un matin d'été (version longue, en public)");
    const int title = form->CibleFiles->columnWidth(TitleColumn), target = form->CibleFiles->columnWidth(TargetColumn);
    resizeTo({1280, 800});
    EXPECT_GT(form->CibleFiles->columnWidth(TitleColumn), title + 150) << "the titles first";
    EXPECT_EQ(form->CibleFiles->columnWidth(TitleColumn) + form->CibleFiles->columnWidth(TargetColumn),
              title + target + 580)
        << "the rest to the target";
    resizeTo(Smallest);
    EXPECT_EQ(form->CibleFiles->columnWidth(TitleColumn), title);
    EXPECT_EQ(form->CibleFiles->columnWidth(TargetColumn), target);
}

// The size and the widths come back when "Retenir" is on, and only then.
TEST_F(MainFormSize, SizeAndColumnWidthsAreKeptWithTheChoices)
{
    for (const bool remember : {true, false}) {
        SCOPED_TRACE(remember);
        settings.SetRememberChoices(remember);
        resizeTo({1000, 700});
        form->CibleFiles->setColumnWidth(1, 77);
        RememberedChoices(settings).Save(form->Choices(), form->LameCoder1());
        form.reset();
        open();
        if (const auto kept = RememberedChoices(settings).Restore(form->LameCoder1()))
            form->RestoreChoices(*kept);
        const int target = form->CibleFiles->columnWidth(TargetColumn);
        form->show();
        QCoreApplication::processEvents();
        EXPECT_EQ(form->size(), remember ? QSize(1000, 700) : Smallest);
        EXPECT_EQ(form->CibleFiles->columnWidth(1), remember ? 77 : 45);
        EXPECT_EQ(form->CibleFiles->columnWidth(TargetColumn), target) << "kept widths are not widened again";
        settings.SetChoice("mp3", QVariant()); // nothing kept for the next pass
    }
}
