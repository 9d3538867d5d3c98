#include "cddb/CoverArtArchive.h"
#include "platform/HttpCancelled.h"
#include "platform/HttpFailure.h"
#include "platform/HttpStatusError.h"
#include "platform/IHttpClient.h"
#include "platform/PathText.h"
#include <QUrl>

const QString CoverArtArchive::DefaultServer = QStringLiteral("https://coverartarchive.org");

namespace {
constexpr long NotFound = 404;
const QString RequestFailed = QStringLiteral("échec de la requête");

QString failureOf(const HttpFailure& failure, qsizetype maxBytes)
{
    switch (failure.kind()) {
    case HttpFailure::Kind::Unreachable:
        return QStringLiteral("serveur injoignable");
    case HttpFailure::Kind::TimedOut:
        return QStringLiteral("le serveur ne répond plus");
    case HttpFailure::Kind::Cut:
        return QStringLiteral("connexion coupée");
    case HttpFailure::Kind::TooLarge:
        return CoverImage::TooHeavy(maxBytes);
    case HttpFailure::Kind::TooManyRedirects:
        return QStringLiteral("trop de redirections");
    case HttpFailure::Kind::RefusedRedirect:
        return QStringLiteral("redirection refusée");
    case HttpFailure::Kind::Other:
        break;
    }
    return RequestFailed;
}
} // namespace

CoverArtArchive::CoverArtArchive(IHttpClient& http) : m_http(http), m_server(DefaultServer) {}

void CoverArtArchive::SetServer(const QString& url)
{
    m_server = PathText::ServerBase(url.isEmpty() ? DefaultServer : url);
}

QString CoverArtArchive::FrontUrl(const QString& releaseId) const
{
    return m_server + QStringLiteral("/release/") + QString::fromLatin1(QUrl::toPercentEncoding(releaseId))
        + QStringLiteral("/front-500");
}

CoverImage CoverArtArchive::FrontCover(const QString& releaseId) const
{
    if (releaseId.isEmpty())
        return {};
    HttpSettings settings;
    settings.cancel = m_cancel;
    settings.maxAnswerBytes = m_limits.maxBytes;
    settings.minBytesPerSecond = m_limits.minBytesPerSecond;
    settings.slowSeconds = m_limits.slowSeconds;
    try {
        return CoverImage::FromBytes(m_http.Get(FrontUrl(releaseId), settings));
    } catch (const HttpCancelled&) {
        throw;
    } catch (const HttpStatusError& e) {
        if (e.Status() == NotFound)
            return {};
        return CoverImage::Failed(QStringLiteral("erreur HTTP %1").arg(e.Status()));
    } catch (const HttpFailure& e) {
        return CoverImage::Failed(failureOf(e, m_limits.maxBytes));
    } catch (const CalvenorError&) {
        return CoverImage::Failed(RequestFailed);
    }
}
