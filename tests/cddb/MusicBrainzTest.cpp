#include "ServerFixture.h"
#include "cddb/MusicBrainzClient.h"
#include "cddb/MusicBrainzJson.h"
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
              "/ws/2/discid/" + WorkedExampleId + "?inc=recordings+artist-credits&fmt=json");
    EXPECT_EQ(requests().first().value("headers").toObject().value("User-Agent").toString(),
              "Calvenor/1.2.0 ( jean.dupont@exemple.fr )");
    EXPECT_EQ(device.closed, device.opened);
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
