#include "disc/AlbumSheet.h"
#include <gtest/gtest.h>

namespace {
QList<AlbumTrack> tracks(std::initializer_list<int> numbers)
{
    QList<AlbumTrack> out;
    for (int n : numbers) {
        AlbumTrack track;
        track.number = n;
        out << track;
    }
    return out;
}
} // namespace

TEST(AlbumSheet, TargetsFollowTheTrackNumberAndItsValues)
{
    AlbumSheet sheet;
    sheet.Reset(tracks({2, 3}));
    sheet.SetValue(2, AlbumTrack::Title, "Outro");
    sheet.SetValue(2, AlbumTrack::Artist, "Band");
    sheet.RetargetAll("/m/", ".mp3");
    EXPECT_EQ(sheet.Track(1).value(AlbumTrack::Target), "/m/02 - Piste 02.mp3");
    EXPECT_EQ(sheet.Track(2).value(AlbumTrack::Target), "/m/03 - Band - Outro.mp3");
    sheet.SetExtensions(".wav");
    EXPECT_EQ(sheet.Track(2).value(AlbumTrack::Target), "/m/03 - Band - Outro.wav");
    EXPECT_EQ(sheet.SlotOf(3), 2);
    EXPECT_EQ(sheet.SlotOf(1), 0);
}

// A title corrected for its file leaves the tag's title alone; a new title
// names the file again.
TEST(AlbumSheet, FileTitleNamesTheFileOnlyUntilTheTitleChanges)
{
    AlbumSheet sheet;
    sheet.Reset(tracks({1}));
    sheet.SetValue(1, AlbumTrack::Title, "Qui es-tu ?");
    sheet.SetFileTitle(1, "Qui es-tu");
    sheet.Retarget(1, "/m/", ".mp3");
    EXPECT_EQ(sheet.Track(1).value(AlbumTrack::Title), "Qui es-tu ?");
    EXPECT_EQ(sheet.Track(1).value(AlbumTrack::Target), "/m/01 - Qui es-tu.mp3");
    sheet.SetValue(1, AlbumTrack::Title, "Où vas-tu");
    sheet.Retarget(1, "/m/", ".mp3");
    EXPECT_EQ(sheet.Track(1).value(AlbumTrack::Target), "/m/01 - Où vas-tu.mp3");
}

// A window may write after the disc went: slots it names are gone.
TEST(AlbumSheet, SlotsOutsideTheSheetTakeNothingAndSayNothing)
{
    AlbumSheet sheet;
    sheet.Reset(tracks({1}));
    int changed = 0;
    QObject::connect(&sheet, &AlbumSheet::TrackChanged, [&] { ++changed; });
    for (int k : {0, 2, -1}) {
        sheet.SetValue(k, AlbumTrack::Title, "x");
        sheet.SetTicked(k, true);
        sheet.Retarget(k, "/m/", ".wav");
    }
    sheet.SetTicked(1, true);
    sheet.SetTicked(1, true);
    EXPECT_EQ(changed, 1) << "only a real change is told";
    EXPECT_EQ(sheet.TickedCount(), 1);
}

// The MusicBrainz tagger's rule: only the Various Artists album artist.
TEST(AlbumSheet, ACompilationIsAnAlbumOfVariousArtistsOnly)
{
    const struct {
        const char* name;
        QString albumArtist, albumArtistId;
        QStringList trackArtists;
        bool compilation;
        QString tagged;
    } cases[] = {
        {"one artist", "Les Ondes", "", {"Les Ondes", ""}, false, "Les Ondes"},
        {"featuring", "Les Ondes", "", {"Les Ondes", "Les Ondes feat. Mira"}, false, "Les Ondes"},
        {"featuring, by identifier", "Les Ondes", "02d97176-ca7c-4383-a1db-b805d0f9274d",
         {"Les Ondes", "Les Ondes feat. Mira"}, false, "Les Ondes"},
        {"various artists", "Various Artists", AlbumSheet::VariousArtistsId, {"Mira", "Mira"}, true, "Various Artists"},
        {"various, from CDDB", "Various", "", {"Mira", "Les Ondes"}, true, "Various"},
        {"named various, another identifier", "Various Artists", "02d97176-ca7c-4383-a1db-b805d0f9274d",
         {"Mira", "Les Ondes"}, false, "Various Artists"},
        {"renamed by the user", "Les Ondes", "", {"Les Vagues", "Les Vagues"}, false, "Les Vagues"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AlbumSheet::Album album;
        album.artist = c.albumArtist;
        album.ids.insert(AlbumSheet::MusicBrainzAlbumArtistId, c.albumArtistId);
        QList<AlbumTrack> sheetTracks = tracks({1, 2});
        for (int k = 0; k < sheetTracks.size(); ++k)
            sheetTracks[k].setValue(AlbumTrack::Artist, c.trackArtists.at(k));
        EXPECT_EQ(AlbumSheet::IsCompilation(album), c.compilation);
        EXPECT_EQ(AlbumSheet::AlbumArtist(album, sheetTracks), c.tagged);
    }
}

TEST(AlbumSheet, TheNameTemplateReadsTheAlbumArtistAndDiscNumber)
{
    AlbumSheet sheet;
    sheet.Reset(tracks({3, 4}));
    AlbumSheet::Album album;
    album.artist = "Divers";
    album.discNumber = 2;
    sheet.SetAlbum(album);
    sheet.SetValue(1, AlbumTrack::Artist, "Band");
    sheet.SetValue(2, AlbumTrack::Artist, "Autre");
    sheet.SetNames(NameTemplate("%A/%N-%n %a - %t"));
    sheet.Retarget(1, "/m/", ".mp3");
    EXPECT_EQ(sheet.Track(1).value(AlbumTrack::Target), "/m/Divers/2-03 Band - Piste 03.mp3");
}
