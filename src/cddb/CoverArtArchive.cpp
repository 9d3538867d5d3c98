#include "cddb/CoverArtArchive.h"
#include "platform/HttpCancelled.h"
#include "platform/IHttpClient.h"
#include "platform/PathText.h"
#include <QUrl>

const QString CoverArtArchive::DefaultServer = QStringLiteral("https://coverartarchive.org");

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
    settings.maxAnswerBytes = MaxCoverBytes;
    try {
        return CoverImage::FromBytes(m_http.Get(FrontUrl(releaseId), settings));
    } catch (const HttpCancelled&) {
        throw;
    } catch (const CalvenorError&) {
        return {};
    }
}
