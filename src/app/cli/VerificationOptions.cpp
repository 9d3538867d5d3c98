#include "app/cli/VerificationOptions.h"
#include "disc/DiscToc.h"
#include "platform/CurlHttpClient.h"
#include "platform/InterfaceInternet.h"
#include <QUrl>

namespace {
bool isLoopback(const QString& url)
{
    const QString host = QUrl(url).host();
    return host == QLatin1String("localhost") || host == QLatin1String("::1") || host.startsWith(QLatin1String("127."));
}
} // namespace

RipVerification VerificationOptions::Make(std::unique_ptr<IHttpClient>& http,
                                          const std::function<const DiscToc&()>& toc) const
{
    RipVerification v;
    if (m_parser.isSet(QStringLiteral("accuraterip-server")))
        v.Server = m_parser.value(QStringLiteral("accuraterip-server"));
    if (m_parser.isSet(QStringLiteral("ctdb-server")))
        v.CtdbServer = m_parser.value(QStringLiteral("ctdb-server"));
    v.SkipReason = skipReason(v.Server, QStringLiteral("no-accuraterip"));
    v.CtdbSkipReason = skipReason(v.CtdbServer, QStringLiteral("no-ctdb"));
    v.RepairsFromCtdb = !m_parser.isSet(QStringLiteral("no-ctdb-repair"));
    if (!v.SkipReason.isEmpty() && !v.CtdbSkipReason.isEmpty())
        return v;
    if (!http)
        http = std::make_unique<CurlHttpClient>();
    v.Http = http.get();
    v.Toc = toc();
    return v;
}

QString VerificationOptions::skipReason(const QString& server, const QString& turnOff) const
{
    if (m_parser.isSet(turnOff))
        return RipVerification::TurnedOff();
    if (!isLoopback(server) && !InterfaceInternet().isConnected())
        return RipVerification::NoNetwork();
    return QString();
}
