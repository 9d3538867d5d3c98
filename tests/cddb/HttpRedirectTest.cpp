#include "CddbServer.h"
#include "platform/CalvenorError.h"
#include "platform/CurlHttpClient.h"
#include <QUrl>
#include <gtest/gtest.h>

namespace {
QString errorOf(const QString& url)
{
    CurlHttpClient http;
    try {
        http.Get(url, HttpSettings());
    } catch (const CalvenorError& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
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
                                        "&hello=a+b.c+Calvenor+1.1.0&proto=6";
    CurlHttpClient http;
    EXPECT_TRUE(http.Get(redirectTo(server, cddb), HttpSettings()).startsWith("200 rock 0c01ac02"));

    EXPECT_EQ(errorOf(redirectTo(server, "ftp://files.example/x")),
              "Le serveur « 127.0.0.1 » renvoie vers l'adresse « ftp://files.example/x », qui n'est pas une adresse "
              "http ou https : la redirection est refusée.");
    EXPECT_EQ(errorOf(QStringLiteral("http://127.0.0.1:%1/redirect").arg(server.Port())),
              QStringLiteral("Trop de redirections (plus de 5) : la dernière renvoie vers « http://127.0.0.1:%1/redirect »."
                             ).arg(server.Port()));
}
