#include "cddb/MusicBrainzClient.h"
#include "platform/PathText.h"
#include "cddb/MusicBrainzJson.h"
#include "disc/DiscToc.h"
#include "platform/HttpCancelled.h"
#include "platform/HttpStatusError.h"
#include "platform/IHttpClient.h"
#include <QUrl>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>

const QString MusicBrainzClient::DefaultServer = QStringLiteral("https://musicbrainz.org");

namespace {
constexpr long NotFound = 404;
using Clock = std::chrono::steady_clock;
} // namespace

MusicBrainzClient::MusicBrainzClient(const PlatformServices& services) : m_services(services) {}

void MusicBrainzClient::SetServer(const QString& url)
{
    m_server = PathText::ServerBase(url.isEmpty() ? DefaultServer : url);
}

QString MusicBrainzClient::UserAgent() const
{
    // The service wants a way to reach whoever sends the requests: the
    // program's own home page when the user gave no address.
    const QString contact = m_contact.isEmpty() ? QStringLiteral(CALVENOR_HOMEPAGE) : m_contact;
    return QStringLiteral("Calvenor/" CALVENOR_VERSION " ( ") + contact + QStringLiteral(" )");
}

QString MusicBrainzClient::LookupUrl(const QString& discId) const
{
    return m_server + QStringLiteral("/ws/2/discid/") + QString::fromLatin1(QUrl::toPercentEncoding(discId))
        + QStringLiteral("?inc=recordings+artist-credits+labels+release-groups&fmt=json");
}

// Lookups run on worker threads: the turn is shared under a lock, and a
// cancelled lookup stops waiting at once.
void MusicBrainzClient::waitForTurn() const
{
    static std::mutex turn;
    static std::optional<Clock::time_point> last;
    const std::lock_guard<std::mutex> lock(turn);
    const auto interval = std::chrono::milliseconds(MinIntervalMs);
    while (last && Clock::now() - *last < interval) {
        if (m_cancel && *m_cancel)
            throw HttpCancelled();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    last = Clock::now();
}

QList<AlbumRelease> MusicBrainzClient::LookupDisc(const DiscToc& toc)
{
    return LookupDiscId(toc.MusicBrainzId(), toc.TracksUpToLastAudio());
}

QList<AlbumRelease> MusicBrainzClient::LookupDiscId(const QString& discId, int trackCount)
{
    HttpSettings settings;
    settings.userAgent = UserAgent();
    settings.cancel = m_cancel;
    // The wait for the turn is part of the lookup's time.
    settings.lookupStart = Clock::now();
    QByteArray answer;
    waitForTurn();
    try {
        answer = m_services.http->Get(LookupUrl(discId), settings);
    } catch (const HttpStatusError& e) {
        if (e.Status() == NotFound)
            return {};
        throw;
    }
    return MusicBrainzJson::Releases(answer, discId, trackCount);
}
