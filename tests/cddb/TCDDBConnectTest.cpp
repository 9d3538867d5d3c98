#include "ServerFixture.h"
#include "FakeCdAudioDevice.h"
#include "support/FakeHttpClient.h"
#include "cddb/TCDDBConnect.h"
#include "platform/CurlHttpClient.h"
#include "platform/HttpCancelled.h"
#include "platform/WorkerCall.h"
#include "support/FakeDrives.h"
#include <QElapsedTimer>
#include <QJsonObject>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>

namespace {
const QString Hello = QStringLiteral("&hello=jean.dupont+exemple.fr+Calvenor+1.2.0&proto=6");
const QString Email = QStringLiteral("jean.dupont@exemple.fr");

// A disc of one track at frame 150 whose identifier is 02SSSS01, SSSS being
// the playing seconds in hexadecimal: each identifier picks a record or a
// behaviour of the test server.
FakeCdAudioDevice::Toc oneTrack(int playingSeconds)
{
    return {{150}, 150 + 75 * playingSeconds};
}

// The CDDB client with libcurl against the test server; drive d holds the
// worked example, drive e a disc chosen by each test.
class CddbClient : public ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        cddb = std::make_unique<TCDDBConnect>(services);
        cddb->SetServer(server->Url());
        cddb->SetEmail(Email);
        cddb->OnSendData = [this](TCDDBConnect*, const QString& url) { sent << url; };
        cddb->OnReceiveData = [this](TCDDBConnect*, int code, const QString& text) { received << qMakePair(code, text); };
    }
    void insert(int playingSeconds) { device.tocs["/dev/sr1"] = oneTrack(playingSeconds); }
    // Request targets the server got during this test.
    QStringList targets() const
    {
        QStringList out;
        const QList<QJsonObject> all = server->Requests();
        for (qsizetype i = firstRequest; i < all.size(); ++i)
            out << all.at(i).value("target").toString();
        return out;
    }
    QStringList titles() const
    {
        QStringList list{QStringLiteral("stale")};
        cddb->GetTitles(list);
        return list;
    }
    QString errorOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const CalvenorError& e) {
            return e.message();
        }
        return QStringLiteral("(no error)");
    }

    std::unique_ptr<TCDDBConnect> cddb;
    QStringList sent;
    QList<QPair<int, QString>> received;
    int code = -1;
    QString text;
};

TEST_F(CddbClient, DefaultsAndTheUrlOfTheWorkedExample)
{
    TCDDBConnect fresh(services);
    EXPECT_EQ(fresh.Server(), "http://gnudb.gnudb.org/~cddb");
    EXPECT_EQ(fresh.Port(), 8880);
    EXPECT_EQ(fresh.ProxyPort(), 80);
    EXPECT_EQ(fresh.LastCode(), 0);
    fresh.SetComponentVersion("9.9");
    EXPECT_EQ(fresh.ComponentVersion(), "1.03 - 24/12/2002");
    EXPECT_EQ(fresh.BuildUrl("cddb+query+0c01ac02+2+150+14262+428"),
              "http://gnudb.gnudb.org/~cddb/cddb.cgi?cmd=cddb+query+0c01ac02+2+150+14262+428"
              "&hello=Unknown+Unknown+Calvenor+1.2.0&proto=6");
}

TEST_F(CddbClient, ExactMatchIsReadAndParsed)
{
    cddb->QueryDisc(tocOf('d'), code, text);
    EXPECT_EQ(code, 200);
    EXPECT_EQ(targets(), QStringList({"/~cddb/cddb.cgi?cmd=cddb+query+0c01ac02+2+150+14262+430" + Hello,
                                      "/~cddb/cddb.cgi?cmd=cddb+read+rock+0c01ac02+" + Hello}));
    EXPECT_EQ(sent.first(), server->Url() + "/cddb.cgi?cmd=cddb+query+0c01ac02+2+150+14262+430" + Hello);
    EXPECT_TRUE(text.startsWith("210 rock 0c01ac02 CD database entry follows")) << text.toStdString();
    EXPECT_EQ(text, cddb->EntryText());
    EXPECT_EQ(cddb->LastCode(), 210); // the read's own code
    EXPECT_EQ(cddb->GetArtist(), "Some Band");
    EXPECT_EQ(cddb->GetAlbum(), "First Album");
    EXPECT_EQ(cddb->GetCategory(), "rock");
    EXPECT_EQ(titles(), QStringList({"Intro ", "Second Song"})); // untrimmed
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received.at(0).first, 200);
    EXPECT_EQ(received.at(1).first, 210);
    EXPECT_EQ(device.closed, device.opened);
}

TEST_F(CddbClient, SeveralExactMatchesAreListed)
{
    insert(0x0100);
    cddb->QueryDisc(tocOf('e'), code, text);
    EXPECT_EQ(code, 210);
    EXPECT_EQ(TCDDBConnect::SplitLines(text),
              QStringList({"210 Found exact matches, list follows (until terminating `.')",
                           "jazz 02010001 Other Band / Other Album", "rock 02010001 AB/CD / Second Album", "."}));
    EXPECT_EQ(targets().size(), 1); // nothing read yet

    // The split is at the first "/", not at " / ".
    cddb->ReadEntry("rock 02010001 AB/CD / Second Album");
    EXPECT_EQ(targets().last(), "/~cddb/cddb.cgi?cmd=cddb+read+rock+02010001+" + Hello);
    EXPECT_EQ(cddb->GetArtist(), "AB");
    EXPECT_EQ(cddb->GetAlbum(), "CD / Second Album");
}

TEST_F(CddbClient, InexactMatchesAndALowerCaseRecord)
{
    insert(0x0101);
    cddb->QueryDisc(tocOf('e'), code, text);
    EXPECT_EQ(code, 211);
    EXPECT_EQ(TCDDBConnect::SplitLines(text).size(), 4);
    cddb->ReadEntry(TCDDBConnect::SplitLines(text).at(1));
    EXPECT_EQ(cddb->GetArtist(), "lower band");
    EXPECT_EQ(cddb->GetAlbum(), "lower album");
    EXPECT_EQ(titles(), QStringList({"lower track"}));
}

TEST_F(CddbClient, NoMatchAndServerErrorAreResultsNotErrors)
{
    insert(0x0102);
    cddb->QueryDisc(tocOf('e'), code, text);
    EXPECT_EQ(code, 202);
    EXPECT_EQ(text, "202 No match for disc ID 02010201."); // trimmed
    insert(0x0103);
    cddb->QueryDisc(tocOf('e'), code, text);
    EXPECT_EQ(code, 402);
    EXPECT_EQ(text, "402 Server error.");
    EXPECT_EQ(targets().size(), 2); // nothing read
}

TEST_F(CddbClient, MatchLineWithOrWithoutItsCodeGivesTheSameRead)
{
    cddb->ReadEntry("rock 0c01ac02 Some Band / First Album");
    cddb->ReadEntry("210 rock 0c01ac02 Some Band / First Album");
    cddb->ReadEntry("200 rock 0c01ac02 Some Band / First Album\r\n");
    const QString read = "/~cddb/cddb.cgi?cmd=cddb+read+rock+0c01ac02+" + Hello;
    EXPECT_EQ(targets(), QStringList({read, read, read}));
}

TEST_F(CddbClient, ContinuedValuesAreJoined)
{
    insert(0x0109);
    cddb->QueryDisc(tocOf('e'), code, text);
    ASSERT_EQ(code, 200);
    EXPECT_EQ(cddb->GetArtist(), "Long Band");
    EXPECT_EQ(cddb->GetAlbum(), "A Very Long Album Name Continued");
    // The disc has one track: TTITLE1 lies past it.
    EXPECT_EQ(titles(), QStringList({"A title that goes on and on"}));
}

TEST_F(CddbClient, AnswersThatAreNotCddbRaiseTheConversionError)
{
    cddb->QueryDisc(tocOf('d'), code, text); // LastCode 210
    received.clear();
    insert(0x0104);
    EXPECT_EQ(errorOf([&] { cddb->QueryDisc(tocOf('e'), code, text); }), "'' n'est pas une valeur entière correcte");
    EXPECT_EQ(cddb->LastCode(), 210);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received.first(), qMakePair(210, QString()));

    insert(0x0105);
    EXPECT_EQ(errorOf([&] { cddb->QueryDisc(tocOf('e'), code, text); }), "'abc' n'est pas une valeur entière correcte");
    EXPECT_EQ(received.last(), qMakePair(210, QString("abc Server confused\r\n")));
}

TEST_F(CddbClient, HttpFailuresRaiseFrenchTexts)
{
    insert(0x0107);
    EXPECT_EQ(errorOf([&] { cddb->QueryDisc(tocOf('e'), code, text); }),
              "Le serveur « 127.0.0.1 » a répondu par l'erreur HTTP 500.");
    EXPECT_EQ(received.last().second, QString()); // the receive event comes all the same

    insert(0x0108);
    EXPECT_EQ(errorOf([&] { cddb->QueryDisc(tocOf('e'), code, text); }),
              "La réponse du serveur « 127.0.0.1 » dépasse la taille permise (1 Mio) : elle est refusée.");

    cddb->SetServer(QStringLiteral("http://127.0.0.1:%1/~cddb").arg(CddbServer::ClosedPort()));
    EXPECT_EQ(errorOf([&] { cddb->QueryDisc(tocOf('d'), code, text); }), "Connexion impossible au serveur « 127.0.0.1 ».");
    EXPECT_EQ(device.closed, device.opened);
}

TEST_F(CddbClient, ServerThatNeverAnswersTimesOut)
{
    CurlHttpClient impatient(1000, 1000);
    services.http = &impatient;
    TCDDBConnect client(services);
    client.SetServer(server->Url());
    client.SetEmail(Email);
    insert(0x0106);
    EXPECT_EQ(errorOf([&] { client.QueryDisc(tocOf('e'), code, text); }),
              "Le serveur « 127.0.0.1 » ne répond pas : le délai d'attente est dépassé.");
}

// Closing the lookup window sets the flag from the window's thread while the
// query waits on a silent server: it ends at once, with nothing to show.
TEST_F(CddbClient, CancelledQueryEndsAtOnceOnItsWorkerThread)
{
    insert(0x0106);
    std::atomic<bool> cancel{false};
    cddb->SetCancelFlag(&cancel);
    QElapsedTimer sinceCancel;
    bool cancelled = false;
    QTimer::singleShot(300, [&] {
        cancel = true;
        sinceCancel.start();
    });
    WorkerCall::Run([&] {
        try {
            cddb->QueryDisc(tocOf('e'), code, text);
        } catch (const HttpCancelled&) {
            cancelled = true;
        }
    });
    EXPECT_TRUE(cancelled);
    EXPECT_LT(sinceCancel.elapsed(), 200);
    EXPECT_EQ(targets().size(), 1);
    EXPECT_EQ(device.closed, device.opened);
}

TEST_F(CddbClient, AnEmptyTableOfContentsEndsTheQueryBeforeAnyRequest)
{
    EXPECT_EQ(errorOf([&] { cddb->QueryDisc(DiscToc(), code, text); }), "Le disque n'a pas de table des matières.");
    EXPECT_TRUE(targets().isEmpty());
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(errorOf([&] { cddb->GetCategory(); }), "Indice de liste hors limites (0)");
}

TEST_F(CddbClient, ProxySettingsReachLibcurl)
{
    cddb->SetServer("http://cddb.example.invalid/~cddb");
    cddb->SetProxyServer("127.0.0.1");
    cddb->SetProxyPort(server->Port());
    cddb->SetProxyUsername("user");
    cddb->SetProxyPassword("secret");
    cddb->QueryDisc(tocOf('d'), code, text);
    EXPECT_EQ(code, 200);
    const QJsonObject request = server->Requests().at(firstRequest);
    EXPECT_EQ(request.value("target").toString(),
              "http://cddb.example.invalid/~cddb/cddb.cgi?cmd=cddb+query+0c01ac02+2+150+14262+430" + Hello);
    EXPECT_EQ(request.value("headers").toObject().value("Proxy-Authorization").toString(), "Basic dXNlcjpzZWNyZXQ=");
}

TEST_F(CddbClient, PortAppliesToABareHostNameOnly)
{
    cddb->SetServer("127.0.0.1/~cddb");
    cddb->SetPort(server->Port());
    cddb->QueryDisc(tocOf('d'), code, text);
    EXPECT_EQ(code, 200);

    cddb->SetServer(server->Url()); // explicit port
    cddb->SetPort(CddbServer::ClosedPort());
    cddb->QueryDisc(tocOf('d'), code, text);
    EXPECT_EQ(code, 200);
}

TEST_F(CddbClient, ValuesArePercentEncodedAndSeparatorsKept)
{
    FakeHttpClient fake;
    fake.answers["cddb read"] = "401 no such entry\r\n";
    services.http = &fake;
    TCDDBConnect client(services);
    client.SetServer("http://server/~cddb");
    client.SetUserName("Jean Dupont&Co");
    client.SetHostName("hôte#1");
    client.SetClientName("100%");
    client.ReadEntry("rock&roll 0c01ac02 Some Band / First Album");
    EXPECT_EQ(fake.urls.first(), "http://server/~cddb/cddb.cgi?cmd=cddb+read+rock%26roll+0c01ac02+"
                                 "&hello=Jean%20Dupont%26Co+h%C3%B4te%231+100%25+1.2.0&proto=6");
}
TEST_F(CddbClient, TodaysGreetingLevelAndUserAgent)
{
    cddb->SetEmail(QStringLiteral("jean+cd@exemple.fr"));
    cddb->QueryDisc(tocOf('d'), code, text);
    EXPECT_EQ(code, 200);
    const QJsonObject request = server->Requests().at(firstRequest);
    EXPECT_TRUE(request.value("target").toString().endsWith("&hello=jean%2Bcd+exemple.fr+Calvenor+1.2.0&proto=6"))
        << request.value("target").toString().toStdString();
    EXPECT_EQ(request.value("headers").toObject().value("User-Agent").toString(), "Calvenor/1.2.0");
}

TEST_F(CddbClient, RecordsInUtf8OrWindows1252)
{
    struct Case {
        int seconds;
        QString artist, album, title;
    };
    const QList<Case> cases = {
        {0x010a, "Cœur de pirate", "Œuvres", "L’amour… à 5 €"},           // Windows-1252 bytes
        {0x010b, "Cœur de pirate", "Œuvres complètes", "L’été œcuménique"}, // UTF-8
    };
    for (const Case& c : cases) {
        insert(c.seconds);
        cddb->QueryDisc(tocOf('e'), code, text);
        ASSERT_EQ(code, 200) << text.toStdString();
        EXPECT_EQ(cddb->GetArtist(), c.artist);
        EXPECT_EQ(cddb->GetAlbum(), c.album);
        EXPECT_EQ(titles(), QStringList({c.title}));
    }
    EXPECT_EQ(cddb->GetYear(), QString());
}

// A record read at protocol level 6 may name its genre; the category stands in for it otherwise.
TEST_F(CddbClient, TheGenreIsTheRecordsOwnElseItsCategory)
{
    const struct {
        int seconds;
        QString category, genre;
    } cases[] = {
        {0x010c, "misc", "Chanson"},
        {0x010a, "misc", "misc"},
        {0x010b, "rock", "rock"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        insert(c.seconds);
        cddb->QueryDisc(tocOf('e'), code, text);
        ASSERT_EQ(code, 200) << text.toStdString();
        EXPECT_EQ(cddb->GetCategory(), c.category);
        EXPECT_EQ(cddb->GetGenre(), c.genre);
    }
}

TEST_F(CddbClient, TitlesGoToTracksByTheirNumber)
{
    device.tocs["/dev/sr1"] = {{150, 15000, 30000}, 45000};
    cddb->QueryDisc(tocOf('e'), code, text);
    ASSERT_EQ(code, 200) << text.toStdString();
    // TTITLE2, TTITLE0, TTITLE1 in that order, TTITLE1 on two lines, TTITLE7 past the disc.
    EXPECT_EQ(titles(), QStringList({"First", "Second", "Third"}));
}

TEST_F(CddbClient, AGreetingWithoutAddressIsRefusedAndExplained)
{
    TCDDBConnect anonymous(services);
    anonymous.SetServer(server->Url());
    anonymous.QueryDisc(tocOf('d'), code, text);
    EXPECT_EQ(code, 431);
    const QString shown = TCDDBConnect::ExplainAnswer(code, text);
    EXPECT_TRUE(shown.startsWith("Le serveur CDDB a refusé la présentation du programme.")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("Réponse du serveur : 431 Handshake not successful, closing connection."));
    EXPECT_EQ(TCDDBConnect::ExplainAnswer(202, "202 No match"), "202 No match");
}
} // namespace
