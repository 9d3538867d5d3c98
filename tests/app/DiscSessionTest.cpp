#include "app/DiscSession.h"
#include "cddb/AlbumRelease.h"
#include "cddb/DiscLookup.h"
#include "disc/AlbumSheet.h"
#include "platform/CdioAudioDevice.h"
#include "support/DiscImage.h"
#include "support/FakeCdRipLibrary.h"
#include "support/FakeDrives.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The disc read at insertion: an image whose sheet names it in CD-Text.
TEST(DiscSession, CdTextFillsTheSheetUntilALookupReplacesIt)
{
    QTemporaryDir dir;
    const QString cue = DiscImage()
                            .AddAudioTrack(DiscImage::SinePcm(100, 440))
                            .AddAudioTrack(DiscImage::SinePcm(100, 660))
                            .SetCdText({"Trois Pièces", "Un", "Deux"}, {"Trio", "", "Zoé"})
                            .WriteTo(dir.path());
    FakeDrives drives;
    drives.sources = {{'e', cue}};
    drives.discs = {{'e', true}};
    FakeCdRipLibrary cdRip;
    cdRip.SetAudioToc({0, 100}, 200);
    CdioAudioDevice cdAudio;
    PlatformServices services;
    services.drives = &drives;
    services.cdRip = &cdRip;
    services.cdAudio = &cdAudio;
    DiscSession session(services);
    ASSERT_EQ(session.Read('e', 0, 50), 2);
    const AlbumSheet& sheet = session.Sheet();
    EXPECT_EQ(sheet.AlbumValues().source, AlbumRelease::CdTextSource);
    EXPECT_EQ(sheet.AlbumValues().title, "Trois Pièces");
    EXPECT_EQ(sheet.AlbumValues().artist, "Trio");
    EXPECT_EQ(sheet.Track(1).value(AlbumTrack::Title), "Un");
    EXPECT_EQ(sheet.Track(1).value(AlbumTrack::Artist), "Trio");
    EXPECT_EQ(sheet.Track(2).value(AlbumTrack::Title), "Deux");
    EXPECT_EQ(sheet.Track(2).value(AlbumTrack::Artist), "Zoé");

    AlbumRelease found;
    found.source = "CDDB";
    found.artist = "Les Ondes";
    found.album = "Marées";
    found.titles = {"Haute mer", "Basse mer"};
    DiscLookup::Apply(found, session.Sheet(), dir.path(), ".wav");
    EXPECT_EQ(sheet.AlbumValues().source, "CDDB");
    EXPECT_EQ(sheet.Track(2).value(AlbumTrack::Title), "Basse mer");
    EXPECT_EQ(sheet.Track(2).value(AlbumTrack::Artist), "Les Ondes");
}
