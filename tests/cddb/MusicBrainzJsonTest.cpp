#include "cddb/DiscLookup.h"
#include "cddb/MusicBrainzJson.h"
#include "disc/AlbumSheet.h"
#include "support/TestFiles.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {
const QString PicardData = QStringLiteral(CALVENOR_SOURCE_DIR "/tests/cddb/data/picard/");

// picard's answers as a disc lookup gives them: releases in a list.
class PicardAnswers : public ::testing::Test {
protected:
    static QJsonObject read(const char* name)
    {
        return QJsonDocument::fromJson(TestFiles::ReadAll(PicardData + name)).object();
    }
    static AlbumRelease only(const QJsonObject& release, int trackCount)
    {
        const QByteArray json = QJsonDocument(QJsonObject{{"releases", QJsonArray{release}}}).toJson();
        const QList<AlbumRelease> releases = MusicBrainzJson::Releases(json, QString(), trackCount);
        EXPECT_EQ(releases.size(), 1);
        return releases.value(0);
    }
    static AlbumSheet::Album applied(const AlbumRelease& release, int trackCount)
    {
        AlbumSheet sheet;
        QList<AlbumTrack> tracks(trackCount);
        for (int k = 0; k < trackCount; ++k)
            tracks[k].number = k + 1;
        sheet.Reset(tracks);
        DiscLookup::Apply(release, sheet, "/musique/", ".flac");
        return sheet.AlbumValues();
    }
};
} // namespace

TEST_F(PicardAnswers, AReleaseOfOneArtistIsNoCompilation)
{
    const AlbumRelease release = only(read("release.json"), 10);
    EXPECT_EQ(release.album, "The Dark Side of the Moon");
    EXPECT_EQ(release.artist, "Pink Floyd");
    EXPECT_EQ(release.date, "1973-03-24");
    EXPECT_EQ(release.label, "Harvest");
    EXPECT_EQ(release.catalogNumber, "SHVL 804");
    EXPECT_EQ(release.ids.value(AlbumRelease::MusicBrainzReleaseId), "b84ee12a-09ef-421b-82de-0441a926375b");
    const AlbumSheet::Album album = applied(release, 10);
    EXPECT_EQ(album.ids.value(AlbumSheet::MusicBrainzAlbumArtistId), "83d91898-7763-47d7-b03b-b92132375c47");
    EXPECT_FALSE(AlbumSheet::IsCompilation(album));
}

// The recording's credit on a track of a single-artist release: guests make no compilation.
TEST_F(PicardAnswers, ATrackCreditedToSeveralArtistsGetsEveryIdInCreditOrder)
{
    const QJsonObject recording = read("recording_multi_artists_1.json");
    const QJsonArray credit = recording.value("artist-credit").toArray();
    const QJsonObject track{{"id", "track-1"},
                            {"position", 1},
                            {"title", recording.value("title")},
                            {"artist-credit", credit},
                            {"recording", recording}};
    const QJsonObject release{{"id", "release-1"},
                              {"title", "Album"},
                              {"artist-credit", QJsonArray{credit.first()}},
                              {"media", QJsonArray{QJsonObject{{"position", 1}, {"tracks", QJsonArray{track}}}}}};
    const AlbumRelease album = only(release, 1);
    EXPECT_EQ(album.artists.value(0), "Ed Sheeran feat. Meek Mill & A Boogie Wit da Hoodie");
    ASSERT_EQ(album.trackIds.size(), 1);
    EXPECT_EQ(album.trackIds.first().artists,
              QStringList({"b8a7c51f-362c-4dcb-a259-bc6e0095f0a6", "31bcadcc-e1da-4cad-bec8-2f4f1d41b095",
                           "c1708d03-8a66-46eb-848e-fe0d233ffb39"}));
    EXPECT_FALSE(AlbumSheet::IsCompilation(applied(album, 1)));
}
