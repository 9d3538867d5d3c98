#include "CddbServer.h"
#include "cddb/MusicBrainzClient.h"
#include "cddb/TCDDBConnect.h"
#include "platform/CalvenorError.h"
#include "platform/CurlHttpClient.h"
#include "rip/AccurateRipDatabase.h"
#include "disc/AccurateRipDiscId.h"
#include "disc/DiscToc.h"
#include <QElapsedTimer>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

namespace {
QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CalvenorError& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

QString errorOf(const QString& url)
{
    return errorOf([&] { CurlHttpClient().Get(url, HttpSettings()); });
}

QString redirectTo(const CddbServer& server, const QString& target)
{
    return QStringLiteral("http://127.0.0.1:%1/redirect?to=%2")
        .arg(server.Port())
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(target)));
}
} // namespace

TEST(HttpRedirects, TheSchemeIsNeverLowered)
{
    struct Case {
        const char* from;
        const char* to;
        bool allowed;
    };
    const Case cases[] = {
        {"http://a.example/x", "http://b.example/y", true},
        {"http://a.example/x", "https://b.example/y", true},
        {"https://a.example/x", "https://b.example/y", true},
        {"https://a.example/x", "http://b.example/y", false},
        {"HTTPS://a.example/x", "HTTP://a.example/y", false},
        {"http://a.example/x", "ftp://b.example/y", false},
        {"http://a.example/x", "file:///etc/passwd", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CurlHttpClient::RedirectRefusal(c.from, c.to).isEmpty(), c.allowed) << c.from << " -> " << c.to;
    EXPECT_EQ(CurlHttpClient::RedirectRefusal("https://a.example/x", "http://b.example/y"),
              "Le serveur « a.example » renvoie vers l'adresse non chiffrée « http://b.example/y » : "
              "la redirection est refusée.");
}

TEST(HttpRedirects, FollowedOrRefusedNamingTheTarget)
{
    CddbServer server;
    const QString cddb = server.Url() + "/cddb.cgi?cmd=cddb+query+0c01ac02+2+150+14262+428"
                                        "&hello=a+b.c+Calvenor+1.2.0&proto=6";
    CurlHttpClient http;
    EXPECT_TRUE(http.Get(redirectTo(server, cddb), HttpSettings()).startsWith("200 rock 0c01ac02"));

    EXPECT_EQ(errorOf(redirectTo(server, "ftp://files.example/x")),
              "Le serveur « 127.0.0.1 » renvoie vers l'adresse « ftp://files.example/x », qui n'est pas une adresse "
              "http ou https : la redirection est refusée.");
    EXPECT_EQ(errorOf(QStringLiteral("http://127.0.0.1:%1/redirect").arg(server.Port())),
              QStringLiteral("Trop de redirections (plus de 5) : la dernière renvoie vers « http://127.0.0.1:%1/redirect »."
                             ).arg(server.Port()));
}

// Each hop comes 0.4 s late and redirects again: every lookup ends by its one
// deadline (1 s here) instead of after six slow hops.
TEST(HttpRedirects, EveryLookupEndsByOneDeadlineThroughASlowRedirectLoop)
{
    CddbServer server;
    const QString loop = QStringLiteral("http://127.0.0.1:%1/slow-redirect").arg(server.Port());
    CurlHttpClient http(1000, 1000);
    PlatformServices services;
    services.http = &http;
    const std::pair<const char*, std::function<void()>> lookups[] = {
        {"CDDB",
         [&] {
             TCDDBConnect cddb(services);
             cddb.SetServer(loop);
             cddb.SendCommand("cddb+query+0c01ac02+2+150+14262+428");
         }},
        {"MusicBrainz",
         [&] {
             MusicBrainzClient musicBrainz(services);
             musicBrainz.SetServer(loop);
             musicBrainz.LookupDiscId("r76jEjhsNSTmDPF3tXjjEvPmnMk-", 2);
         }},
        {"AccurateRip",
         [&] {
             TocTrack track;
             track.length = 1001;
             AccurateRipDatabase(http, loop).Lookup(AccurateRipDiscId(DiscToc({track}, 1001)));
         }},
    };
    for (const auto& [name, lookup] : lookups) {
        QElapsedTimer took;
        took.start();
        EXPECT_EQ(errorOf(lookup).toStdString(),
                  "Le serveur « 127.0.0.1 » ne répond pas : le délai d'attente est dépassé.")
            << name;
        EXPECT_LT(took.elapsed(), 2000) << name;
    }
}
