#include "rip/AccurateRipDatabase.h"
#include "platform/HttpStatusError.h"
#include "platform/PathText.h"
#include "disc/AccurateRipDiscId.h"

namespace {
constexpr long NotFound = 404;
} // namespace

const QString AccurateRipDatabase::DefaultServer = QStringLiteral("http://www.accuraterip.com/accuraterip");

AccurateRipDatabase::AccurateRipDatabase(IHttpClient& http, const QString& server, const std::atomic<bool>* cancel)
    : m_http(http), m_server(PathText::ServerBase(server))
{
    m_settings.cancel = cancel;
}

QString AccurateRipDatabase::Address(const AccurateRipDiscId& disc) const
{
    return m_server + '/' + disc.DatabasePath();
}

QList<AccurateRipResponse> AccurateRipDatabase::Lookup(const AccurateRipDiscId& disc)
{
    QByteArray file;
    try {
        file = m_http.Get(Address(disc), m_settings);
    } catch (const HttpStatusError& e) {
        if (e.Status() == NotFound)
            return {};
        throw;
    }
    return AccurateRipResponse::Parse(file);
}
