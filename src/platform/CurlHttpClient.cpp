#include "platform/CurlHttpClient.h"
#include "platform/CalvenorError.h"
#include "platform/HttpCancelled.h"
#include "platform/HttpFailure.h"
#include "platform/HttpStatusError.h"
#include <QUrl>
#include <algorithm>
#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace {
const QString SchemeMark = QStringLiteral("://");
const QString Http = QStringLiteral("http");
const QString Https = QStringLiteral("https");
constexpr long FirstRedirectStatus = 300;
constexpr long LastRedirectStatus = 399;
constexpr long PartialContent = 206;
// How long a cancelled request may go on before it sees the cancel flag.
constexpr int CancelCheckMs = 20;
constexpr qsizetype Mebibyte = 1024 * 1024;

using EasyHandle = std::unique_ptr<CURL, void (*)(CURL*)>;
using MultiHandle = std::unique_ptr<CURLM, CURLMcode (*)(CURLM*)>;
using HeaderList = std::unique_ptr<curl_slist, void (*)(curl_slist*)>;

struct Answer {
    QByteArray bytes;
    qsizetype limit = 0;
    bool tooLarge = false;
};

size_t collect(char* data, size_t size, size_t count, void* answerPtr)
{
    auto* answer = static_cast<Answer*>(answerPtr);
    const size_t bytes = size * count;
    if (answer->bytes.size() + static_cast<qsizetype>(bytes) > answer->limit) {
        answer->tooLarge = true;
        return 0; // libcurl ends the transfer with a write error
    }
    answer->bytes.append(data, static_cast<qsizetype>(bytes));
    return bytes;
}

void initLibrary()
{
    static std::once_flag done;
    std::call_once(done, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// A bare host name gets the http scheme, and the port of the settings when
// it names none of its own.
QString fullAddress(const QString& url, bool* usesSettingsPort)
{
    *usesSettingsPort = false;
    if (url.contains(SchemeMark))
        return url;
    const QString full = QStringLiteral("http://") + url;
    *usesSettingsPort = QUrl(full).port() == -1;
    return full;
}

QString hostOf(const QString& url)
{
    const QString host = QUrl(url).host();
    return host.isEmpty() ? url : host;
}

long millisecondsUntil(std::chrono::steady_clock::time_point deadline)
{
    using namespace std::chrono;
    return static_cast<long>(duration_cast<milliseconds>(deadline - steady_clock::now()).count());
}

QString schemeOf(const QString& url)
{
    return QUrl(url).scheme().toLower();
}

HttpFailure::Kind kindOf(CURLcode code)
{
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
        return HttpFailure::Kind::TimedOut;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
        return HttpFailure::Kind::Unreachable;
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
        return HttpFailure::Kind::Cut;
    default:
        return HttpFailure::Kind::Other;
    }
}

// libcurl's own texts are English: each failure the user may meet gets a
// French one, the others their number.
QString failureText(CURLcode code, const QString& host, const QString& url, const HttpSettings& settings)
{
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("Le serveur « %1 » ne répond pas : le délai d'attente est dépassé.").arg(host);
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("Le serveur « %1 » est introuvable.").arg(host);
    case CURLE_COULDNT_RESOLVE_PROXY:
        return QStringLiteral("Le serveur proxy « %1 » est introuvable.").arg(settings.proxyServer);
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("Connexion impossible au serveur « %1 ».").arg(host);
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return QStringLiteral("Adresse de serveur incorrecte : « %1 ».").arg(url);
    case CURLE_GOT_NOTHING:
        return QStringLiteral("Le serveur « %1 » a fermé la connexion sans répondre.").arg(host);
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
        return QStringLiteral("La connexion au serveur « %1 » a été coupée avant la fin de la réponse.").arg(host);
    case CURLE_PEER_FAILED_VERIFICATION:
        return QStringLiteral("Le certificat du serveur « %1 » n'a pas pu être vérifié : la connexion est refusée.")
            .arg(host);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE:
        return QStringLiteral("La connexion chiffrée au serveur « %1 » n'a pas pu être établie.").arg(host);
    case CURLE_OUT_OF_MEMORY:
        return QStringLiteral("Mémoire insuffisante pour la requête au serveur « %1 ».").arg(host);
    default:
        return QStringLiteral("La requête au serveur « %1 » a échoué (erreur libcurl %2).").arg(host).arg(int(code));
    }
}

[[noreturn]] void raiseFailure(CURLcode code, const QString& url, const HttpSettings& settings, CURL* curl,
                               const Answer& answer)
{
    const QString host = hostOf(url);
    if (answer.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
        throw HttpFailure(
            QStringLiteral("La réponse du serveur « %1 » dépasse la taille permise (%2 Mio) : elle est refusée.")
                .arg(host)
                .arg(answer.limit / Mebibyte),
            HttpFailure::Kind::TooLarge);
    if (code == CURLE_HTTP_RETURNED_ERROR) {
        long status = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        throw HttpStatusError(
            QStringLiteral("Le serveur « %1 » a répondu par l'erreur HTTP %2.").arg(host).arg(status), status);
    }
    throw HttpFailure(failureText(code, host, url, settings), kindOf(code));
}

void applyProxy(CURL* curl, const HttpSettings& settings)
{
    // An empty proxy means none, whatever the environment says.
    curl_easy_setopt(curl, CURLOPT_PROXY, settings.proxyServer.toUtf8().constData());
    if (settings.proxyServer.isEmpty())
        return;
    curl_easy_setopt(curl, CURLOPT_PROXYPORT, static_cast<long>(settings.proxyPort));
    if (!settings.proxyUsername.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, settings.proxyUsername.toUtf8().constData());
        curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, settings.proxyPassword.toUtf8().constData());
    }
}

// The transfer runs in small steps so that a cancel flag set by another
// thread ends it within CancelCheckMs, even while the server is silent.
CURLcode perform(CURL* easy, const std::atomic<bool>* cancel)
{
    MultiHandle multi(curl_multi_init(), curl_multi_cleanup);
    if (!multi)
        return CURLE_OUT_OF_MEMORY;
    struct Attached {
        CURLM* multi;
        CURL* easy;
        ~Attached() { curl_multi_remove_handle(multi, easy); }
    } attached{multi.get(), easy};
    curl_multi_add_handle(multi.get(), easy);
    int running = 1;
    while (running) {
        if (cancel && *cancel)
            throw HttpCancelled();
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK)
            return CURLE_FAILED_INIT;
        if (running && curl_multi_poll(multi.get(), nullptr, 0, CancelCheckMs, nullptr) != CURLM_OK)
            return CURLE_FAILED_INIT;
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &left))
        if (message->msg == CURLMSG_DONE)
            return message->data.result;
    return CURLE_FAILED_INIT;
}
} // namespace

// One request of a chain of redirects: its answer, or where it sends us.
struct CurlHttpClient::Hop {
    QByteArray bytes;
    QString redirect;
    long status = 0;
};

CurlHttpClient::CurlHttpClient(long connectTimeoutMs, long timeLimitMs, qsizetype maxAnswerBytes)
    : m_connectTimeoutMs(connectTimeoutMs), m_timeLimitMs(timeLimitMs), m_maxAnswerBytes(maxAnswerBytes)
{
    initLibrary();
}

QString CurlHttpClient::RedirectRefusal(const QString& from, const QString& to)
{
    const QString target = schemeOf(to);
    if (target != Http && target != Https)
        return QStringLiteral("Le serveur « %1 » renvoie vers l'adresse « %2 », qui n'est pas une adresse http ou https : "
                              "la redirection est refusée.")
            .arg(hostOf(from), to);
    if (schemeOf(from) == Https && target != Https)
        return QStringLiteral("Le serveur « %1 » renvoie vers l'adresse non chiffrée « %2 » : la redirection est refusée.")
            .arg(hostOf(from), to);
    return QString();
}

// One deadline for the whole chain: a slow server that redirects in a loop
// cannot hold the program for a time limit per hop.
QByteArray CurlHttpClient::Get(const QString& url, const HttpSettings& settings)
{
    return fetch(url, settings, 0).bytes;
}

HttpPart CurlHttpClient::GetFirstBytes(const QString& url, qsizetype bytes, const HttpSettings& settings)
{
    Hop hop = fetch(url, settings, bytes);
    return HttpPart{std::move(hop.bytes), hop.status != PartialContent};
}

CurlHttpClient::Hop CurlHttpClient::fetch(const QString& url, const HttpSettings& settings, qsizetype firstBytes)
{
    const Clock::time_point deadline =
        settings.lookupStart.value_or(Clock::now()) + std::chrono::milliseconds(m_timeLimitMs);
    bool usesSettingsPort = false;
    QString address = fullAddress(url, &usesSettingsPort);
    for (int redirects = 0;; ++redirects) {
        Hop hop = getOnce(address, usesSettingsPort, settings, deadline, firstBytes);
        if (hop.redirect.isEmpty())
            return hop;
        if (redirects == MaxRedirects)
            throw HttpFailure(QStringLiteral("Trop de redirections (plus de %1) : la dernière renvoie vers « %2 ».")
                                  .arg(MaxRedirects)
                                  .arg(hop.redirect),
                              HttpFailure::Kind::TooManyRedirects);
        const QString refusal = RedirectRefusal(address, hop.redirect);
        if (!refusal.isEmpty())
            throw HttpFailure(refusal, HttpFailure::Kind::RefusedRedirect);
        address = hop.redirect;
        usesSettingsPort = false; // a redirect names its own scheme and port
    }
}

// Each request has its own handle, so its connection closes with it.
CurlHttpClient::Hop CurlHttpClient::getOnce(const QString& url, bool usesSettingsPort, const HttpSettings& settings,
                                            Clock::time_point deadline, qsizetype firstBytes)
{
    const long leftMs = millisecondsUntil(deadline);
    if (leftMs <= 0)
        throw HttpFailure(failureText(CURLE_OPERATION_TIMEDOUT, hostOf(url), url, settings),
                          HttpFailure::Kind::TimedOut);
    EasyHandle curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        throw CalvenorError(QStringLiteral("Impossible de préparer la requête HTTP : mémoire insuffisante."));
    const QByteArray address = url.toUtf8();
    const QByteArray userAgent = settings.userAgent.toUtf8();
    Answer answer;
    answer.limit = settings.maxAnswerBytes > 0 ? settings.maxAnswerBytes : m_maxAnswerBytes;

    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, address.constData());
    curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, std::min(m_connectTimeoutMs, leftMs));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, leftMs);
    if (settings.minBytesPerSecond > 0 && settings.slowSeconds > 0) {
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, settings.minBytesPerSecond);
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, settings.slowSeconds);
    }
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(answer.limit));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &answer);
    curl_easy_setopt(c, CURLOPT_USERAGENT, userAgent.constData());
    const QByteArray range = QByteArray("0-") + QByteArray::number(firstBytes - 1);
    if (firstBytes > 0)
        curl_easy_setopt(c, CURLOPT_RANGE, range.constData());
    if (usesSettingsPort)
        curl_easy_setopt(c, CURLOPT_PORT, static_cast<long>(settings.port));
    applyProxy(c, settings);

    const CURLcode code = perform(c, settings.cancel);
    if (code != CURLE_OK)
        raiseFailure(code, url, settings, c, answer);
    Hop hop;
    char* location = nullptr;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &hop.status);
    if (hop.status >= FirstRedirectStatus && hop.status <= LastRedirectStatus
        && curl_easy_getinfo(c, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location)
        hop.redirect = QString::fromUtf8(location);
    else
        hop.bytes = answer.bytes;
    return hop;
}
