#include "app/ui/TrackListModel.h"
#include "disc/AlbumSheet.h"
#include "disc/DiscToc.h"
#include "rip/RipReport.h"
#include <QIcon>
#include <gtest/gtest.h>

namespace {
enum Column { Label = 0, Length = 1, Result = 9 };

// The list over a sheet of two tracks of 4:20 and 1:00 (75 sectors a second).
class TrackList : public ::testing::Test {
protected:
    void SetUp() override
    {
        AlbumTrack one, two;
        one.number = 1;
        two.number = 2;
        two.ticked = true;
        sheet.Reset({one, two});
        TocTrack first, second;
        first.number = 1;
        first.length = 19500;
        second.number = 2;
        second.start = 19500;
        second.length = 4500;
        toc = DiscToc({first, second}, 24000);
    }
    QVariant at(int row, int column, int role = Qt::DisplayRole) const { return model.data(model.index(row, column), role); }

    AlbumSheet sheet;
    DiscToc toc;
    TrackListModel model{sheet, toc};
};
} // namespace

TEST_F(TrackList, EveryRowIsACheckBoxWithItsLengthAfterTheLabel)
{
    EXPECT_EQ(model.headerData(Length, Qt::Horizontal, Qt::DisplayRole), "Durée");
    EXPECT_EQ(model.headerData(Result, Qt::Horizontal, Qt::DisplayRole), "Résultat");
    const char* lengths[] = {"04:20", "01:00"};
    for (int row = 0; row < 2; ++row) {
        EXPECT_TRUE(model.flags(model.index(row, Label)) & Qt::ItemIsUserCheckable);
        EXPECT_EQ(at(row, Label, Qt::CheckStateRole), row == 0 ? Qt::Unchecked : Qt::Checked);
        EXPECT_EQ(at(row, Length).toString(), lengths[row]);
        EXPECT_EQ(at(row, Label, Qt::ToolTipRole).toString(), sheet.Track(row + 1).Label());
        EXPECT_FALSE(at(row, Result).isValid()) << "no result before a rip";
    }
}

TEST_F(TrackList, EachTrackShowsWhatTheRunMadeOfItUntilTheDiscChanges)
{
    const auto ripped = [](void (*make)(TrackRipResult&)) {
        TrackRipResult t;
        t.TrackNum = 1;
        t.FileWritten = true;
        make(t);
        return t;
    };
    const struct {
        TrackRipResult track;
        QString said;
    } cases[] = {
        {ripped([](TrackRipResult& t) { t.Verdict.Result = AccurateRipVerdict::Exact; }), "exacte"},
        {ripped([](TrackRipResult& t) { t.Verdict.Result = AccurateRipVerdict::Different; }), "différente"},
        {ripped([](TrackRipResult& t) { t.Verdict.Result = AccurateRipVerdict::Absent; }), "absente"},
        // The CUETools database proves or rebuts what AccurateRip does not know.
        {ripped([](TrackRipResult& t) {
             t.Verdict.Result = AccurateRipVerdict::Absent;
             t.Ctdb.Result = CtdbVerdict::Exact;
         }),
         "exacte"},
        {ripped([](TrackRipResult& t) {
             t.Verdict.Result = AccurateRipVerdict::Absent;
             t.Ctdb.Result = CtdbVerdict::Different;
         }),
         "différente"},
        {ripped([](TrackRipResult& t) { t.Read.UnreadSectors = {40}; }), "secteurs illisibles"},
        {ripped([](TrackRipResult& t) { t.Interrupted = true; }), "interrompue"},
        {ripped([](TrackRipResult& t) { t.FileWritten = false; }), "illisible, aucun fichier"},
        {ripped([](TrackRipResult&) {}), "non vérifiée"},
    };
    for (const auto& c : cases) {
        RipReport report;
        report.Add(c.track);
        model.ShowResults(report);
        EXPECT_EQ(at(0, Result).toString(), c.said);
        EXPECT_EQ(at(0, Label, Qt::ToolTipRole).toString(), c.said) << "the picture's words";
        EXPECT_FALSE(at(0, Label, Qt::DecorationRole).value<QIcon>().isNull());
        EXPECT_EQ(at(0, Label).toString(), "Piste 01");
    }
    EXPECT_FALSE(at(1, Label, Qt::DecorationRole).isValid()) << "a track the run left alone";
    sheet.Reset({sheet.Track(1)});
    EXPECT_FALSE(at(0, Result).isValid());
}

// A hidden track lasts until track 1 begins: ten seconds here.
TEST_F(TrackList, TheHiddenTrackRowLastsUntilTrackOne)
{
    QList<TocTrack> tracks = toc.Tracks();
    for (TocTrack& track : tracks)
        track.start += 750;
    const DiscToc hidden(tracks, toc.LeadOut() + 750);
    TrackListModel list{sheet, hidden};
    AlbumTrack zero;
    zero.number = 0;
    sheet.Reset({zero, sheet.Track(1), sheet.Track(2)});
    EXPECT_EQ(list.data(list.index(0, Label), Qt::DisplayRole).toString(), "Piste 00");
    EXPECT_EQ(list.data(list.index(0, Label), Qt::CheckStateRole), Qt::Unchecked);
    EXPECT_EQ(list.data(list.index(0, Length), Qt::DisplayRole).toString(), "00:10");
    EXPECT_EQ(list.data(list.index(1, Length), Qt::DisplayRole).toString(), "04:20");
}
