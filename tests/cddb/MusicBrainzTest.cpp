#include "ServerFixture.h"
#include "cddb/DiscLookup.h"
#include "cddb/MusicBrainzClient.h"
#include "cddb/MusicBrainzJson.h"
#include "disc/AlbumSheet.h"
#include "disc/DiscToc.h"
#include "platform/CalvenorError.h"
#include "platform/CdioAudioDevice.h"
#include "platform/CurlHttpClient.h"
#include "platform/HttpCancelled.h"
#include "support/DiscImage.h"
#include <QElapsedTimer>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString WorkedExampleId = QStringLiteral("g0xMXjKMt8aCFXrW9aedO0gMeoE-");

// The identifier by the public algorithm, computed apart from libdiscid.
QString referenceId(const QList<int>& starts, int leadOut)
{
    QStringList arguments{QStringLiteral(CALVENOR_SOURCE_DIR "/tests/cddb/mb_discid.py"), "1",
                          QString::number(starts.size()), QString::number(leadOut)};
    for (int s : starts)
        arguments << QString::number(s);
    QProcess python;
    python.start("python3", arguments);
    python.waitForFinished();
    return QString::fromLatin1(python.readAllStandardOutput()).trimmed();
}

// The MusicBrainz client with libcurl against the local server: drive d holds
// the worked example, e a disc whose data track follows two audio tracks,
// f a disc the server does not know.
class MusicBrainz : public ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        device.tocs["/dev/sr1"] = {{150, 14262, 40000}, 60000};
        device.dataTracks["/dev/sr1"] = {3};
        device.tocs["/dev/sr2"] = {{150}, 9000};
        client = std::make_unique<MusicBrainzClient>(services);
        client->SetServer(QStringLiteral("http://127.0.0.1:%1/").arg(server->Port()));
        client->SetContact("jean.dupont@exemple.fr");
    }

    std::unique_ptr<MusicBrainzClient> client;
};

TEST_F(MusicBrainz, TwoReleasesWithArtistCreditsAndTheMediumOfTheDisc)
{
    const QList<AlbumRelease> releases = client->LookupDisc(tocOf('d'));
    ASSERT_EQ(releases.size(), 2);
    const AlbumRelease& first = releases.at(0);
    EXPECT_EQ(first.artist, "Zoé & les Îles feat. Œdipe");
    EXPECT_EQ(first.album, "Premier Album");
    EXPECT_EQ(first.year, "2001");
    EXPECT_EQ(first.country, "FR");
    EXPECT_EQ(first.titles, QStringList({"L’ouverture", "Deuxième"})); // medium 2, by position
    EXPECT_EQ(first.ChoiceLine(), "Zoé & les Îles feat. Œdipe / Premier Album – 2001 – FR");
    EXPECT_EQ(releases.at(1).titles, QStringList({"Intro", "Second Song"}));
    EXPECT_EQ(releases.at(1).year, "2011");
    EXPECT_EQ(first.source, "MusicBrainz");
    EXPECT_EQ(releases.at(1).ids.value(AlbumRelease::MusicBrainzReleaseId), "rel-2");

    ASSERT_EQ(requests().size(), 1);
    EXPECT_EQ(requests().first().value("target").toString(),
              "/ws/2/discid/" + WorkedExampleId + "?inc=recordings+artist-credits+labels+release-groups&fmt=json");
    EXPECT_EQ(requests().first().value("headers").toObject().value("User-Agent").toString(),
              "Calvenor/1.2.0 ( jean.dupont@exemple.fr )");
    EXPECT_EQ(device.closed, device.opened);
}

// The releases of records/musicbrainz, as the web service writes them, into
// an album sheet.
TEST_F(MusicBrainz, TheAlbumsIdentityAndEachTracksArtistGoIntoTheSheet)
{
    struct Track {
        QString title, artist;
        AlbumTrack::MusicBrainzIds ids;
    };
    struct Case {
        QString discId;
        AlbumSheet::Album album;
        bool compilation;
        QList<Track> tracks;
    };
    const auto album = [](const QString& artist, const QString& title, const QString& year, int disc, int discs,
                          const QString& date, const QString& label, const QString& catalog,
                          const QStringList& ids) {
        AlbumSheet::Album a;
        a.artist = artist;
        a.title = title;
        a.year = year;
        a.discNumber = disc;
        a.discCount = discs;
        a.date = date;
        a.label = label;
        a.catalogNumber = catalog;
        a.source = "MusicBrainz";
        a.ids = {{AlbumSheet::MusicBrainzReleaseId, ids.at(0)},
                 {AlbumSheet::MusicBrainzReleaseGroupId, ids.at(1)},
                 {AlbumSheet::MusicBrainzAlbumArtistId, ids.at(2)}};
        return a;
    };
    const QString ondes = "02d97176-ca7c-4383-a1db-b805d0f9274d";
    const QString camille = "12ddd95c-6600-4281-bcbd-bbc68bd0753b";
    const QList<Case> cases = {
        {"r76jEjhsNSTmDPF3tXjjEvPmnMk-",
         album("Various Artists", "Nuits blanches", "2004", 2, 2, "2004-11-15", "Disques Lune", "982 564-1",
               {"d8e389ea-acd1-4ae5-8bc9-732e4c77b3e8", "245fd45b-81d9-4a85-812d-ff0bc4c60fe7",
                AlbumSheet::VariousArtistsId}),
         true,
         {{"L’aube", "Mira feat. Théo Lune",
           {"9ee524db-a246-424b-b150-0ae6e7ac1aab", "a59f6aed-f99d-442c-9f41-516ace3a38e6",
            {"4d541900-37cb-4087-80bd-796ef69f7565", "6c3faa89-0aa0-4367-8e8b-868eaa74e59a"}}},
          {"Rue des Écoles", "Les Ondes",
           {"c2953d28-cc22-4385-af5e-3c7f9b973ea1", "35c82cd8-c362-478f-abc3-52837902290b", {ondes}}},
          {"Minuit", "Camille Vasseur",
           {"f146dd30-94dc-4ba4-ab51-d8758a60aa4f", "d1f16c1a-a0a3-4556-b7e9-603f3f598c19", {camille}}}}},
        {"2lXfS8qYpTn4vRc6bW1mHk9dJgE-",
         album("Les Ondes", "Marées", "1998", 1, 2, "1998-04", "Ressac", "LO 012",
               {"c2dcf6d9-d180-44d7-ba15-97ff306465ea", "59e511db-cf8f-47f3-9e96-ad8a5fc86d8e", ondes}),
         false,
         {{"Haute mer", "Les Ondes",
           {"974ccbfa-9e1f-4810-b5e1-6f44e4664ef3", "6d7047fa-301c-4cfd-9cbc-12f965d16163", {ondes}}},
          {"Basse mer", "Les Ondes",
           {"3b0f5d7e-52a4-4c1e-9a5b-0e2f8d6c4a71", "8a6e2c19-7d43-4b0f-b2e5-91c7f0d3a864", {ondes}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.discId.toStdString());
        const QList<AlbumRelease> releases = client->LookupDiscId(c.discId, c.tracks.size());
        ASSERT_EQ(releases.size(), 1);
        AlbumSheet sheet;
        QList<AlbumTrack> tracks(c.tracks.size());
        for (int k = 0; k < tracks.size(); ++k)
            tracks[k].number = k + 1;
        sheet.Reset(tracks);
        DiscLookup::Apply(releases.first(), sheet, "/musique/", ".flac");
        const AlbumSheet::Album& got = sheet.AlbumValues();
        for (const auto& [field, expected] :
             {std::pair{got.artist, c.album.artist}, {got.title, c.album.title}, {got.year, c.album.year},
              {got.date, c.album.date}, {got.label, c.album.label}, {got.catalogNumber, c.album.catalogNumber},
              {got.source, c.album.source}})
            EXPECT_EQ(field, expected);
        EXPECT_EQ(got.discNumber, c.album.discNumber);
        EXPECT_EQ(got.discCount, c.album.discCount);
        EXPECT_EQ(got.ids, c.album.ids);
        EXPECT_EQ(AlbumSheet::IsCompilation(got), c.compilation);
        for (int k = 1; k <= sheet.TrackCount(); ++k) {
            const Track& want = c.tracks.at(k - 1);
            EXPECT_EQ(sheet.Track(k).value(AlbumTrack::Title), want.title);
            EXPECT_EQ(sheet.Track(k).value(AlbumTrack::Artist), want.artist);
            EXPECT_EQ(sheet.Track(k).musicBrainz.releaseTrack, want.ids.releaseTrack);
            EXPECT_EQ(sheet.Track(k).musicBrainz.recording, want.ids.recording);
            EXPECT_EQ(sheet.Track(k).musicBrainz.artists, want.ids.artists);
        }
    }
}

TEST_F(MusicBrainz, ADataTrackEndsTheAudioSessionAndStaysOut)
{
    const QList<AlbumRelease> releases = client->LookupDisc(tocOf('e'));
    ASSERT_EQ(releases.size(), 1);
    EXPECT_EQ(releases.first().titles, QStringList({"One", "Two"}));
    EXPECT_TRUE(requests().first().value("target").toString().contains(referenceId({150, 14262}, 40000 - 11400)));
}

TEST_F(MusicBrainz, AnUnknownDiscHasNoReleaseAndRequestsComeOneASecond)
{
    EXPECT_TRUE(client->LookupDisc(tocOf('f')).isEmpty());
    client->LookupDisc(tocOf('d'));
    MusicBrainzClient other(services);
    other.SetServer(QStringLiteral("http://127.0.0.1:%1").arg(server->Port()));
    other.LookupDisc(tocOf('d'));
    const QList<QJsonObject> sent = requests();
    ASSERT_EQ(sent.size(), 3);
    for (int i = 1; i < sent.size(); ++i)
        EXPECT_GE(sent.at(i).value("time").toDouble() - sent.at(i - 1).value("time").toDouble(), 0.95);

    // A closed window does not wait for its turn.
    const std::atomic<bool> cancelled{true};
    other.SetCancelFlag(&cancelled);
    QElapsedTimer waited;
    waited.start();
    EXPECT_THROW(other.LookupDisc(tocOf('d')), HttpCancelled);
    EXPECT_LT(waited.elapsed(), 500);
    EXPECT_EQ(requests().size(), 3);
}

TEST_F(MusicBrainz, AnswersThatAreNotJsonOrServerErrorsRaiseFrenchTexts)
{
    EXPECT_THROW(MusicBrainzJson::Releases("<html>", WorkedExampleId, 2), CalvenorError);
    try {
        MusicBrainzJson::Releases("[1]", WorkedExampleId, 2);
        FAIL();
    } catch (const CalvenorError& e) {
        EXPECT_EQ(e.message(), "La réponse du serveur MusicBrainz n'est pas lisible (objet JSON attendu).");
    }
    client->SetServer(QStringLiteral("http://127.0.0.1:%1").arg(CddbServer::ClosedPort()));
    EXPECT_THROW(client->LookupDisc(tocOf('d')), CalvenorError);
    EXPECT_EQ(MusicBrainzClient(services).Server(), "https://musicbrainz.org");
}

// Identifiers from libdiscid for discs read from generated images, checked
// against the public algorithm.
TEST(MusicBrainzDiscId, ImagesGiveTheIdentifierOfThePublicAlgorithm)
{
    const QList<QList<int>> layouts = {{75}, {300, 151, 1000}, {77, 78, 79, 80, 81}};
    for (const QList<int>& sectors : layouts) {
        QTemporaryDir dir;
        DiscImage image;
        for (int n : sectors)
            image.AddAudioTrack(DiscImage::NoisePcm(n, uint32_t(n)));
        CdioAudioDevice device;
        const DiscToc disc = DiscToc::Read(device, image.WriteTo(dir.path()));
        QList<int> starts;
        for (const DiscImage::Track& t : image.Tracks())
            starts << t.firstSector + 150;
        EXPECT_EQ(disc.MusicBrainzId(), referenceId(starts, image.LeadOutSector() + 150));
    }
}
} // namespace
