#include "platform/CurlHttpClient.h"
#include "platform/CalvenorError.h"
#include <QUrl>
#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace {
const QString SchemeMark = QStringLiteral("://");
constexpr long MaxRedirects = 5;

using EasyHandle = std::unique_ptr<CURL, void (*)(CURL*)>;

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

CalvenorError failure(CURLcode code, const QString& url, const HttpSettings& settings, CURL* curl,
                      const Answer& answer, const char* detail)
{
    const QString host = hostOf(url);
    if (answer.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
        return CalvenorError(
            QStringLiteral("La réponse du serveur « %1 » dépasse la taille permise (1 Mio) : elle est refusée.").arg(host));
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
        return CalvenorError(
            QStringLiteral("Le serveur « %1 » ne répond pas : le délai d'attente est dépassé.").arg(host));
    case CURLE_COULDNT_RESOLVE_HOST:
        return CalvenorError(QStringLiteral("Le serveur « %1 » est introuvable.").arg(host));
    case CURLE_COULDNT_RESOLVE_PROXY:
        return CalvenorError(QStringLiteral("Le serveur proxy « %1 » est introuvable.").arg(settings.proxyServer));
    case CURLE_COULDNT_CONNECT:
        return CalvenorError(QStringLiteral("Connexion impossible au serveur « %1 ».").arg(host));
    case CURLE_HTTP_RETURNED_ERROR: {
        long status = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        return CalvenorError(QStringLiteral("Le serveur « %1 » a répondu par l'erreur HTTP %2.").arg(host).arg(status));
    }
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return CalvenorError(QStringLiteral("Adresse de serveur incorrecte : « %1 ».").arg(url));
    default:
        return CalvenorError(QStringLiteral("La requête au serveur « %1 » a échoué (%2).")
                                 .arg(host, QString::fromLocal8Bit(*detail ? detail : curl_easy_strerror(code))));
    }
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
} // namespace

CurlHttpClient::CurlHttpClient(long connectTimeoutMs, long requestTimeoutMs, qsizetype maxAnswerBytes)
    : m_connectTimeoutMs(connectTimeoutMs), m_requestTimeoutMs(requestTimeoutMs), m_maxAnswerBytes(maxAnswerBytes)
{
    initLibrary();
}

// Each request has its own handle, so its connection closes with it.
QByteArray CurlHttpClient::Get(const QString& url, const HttpSettings& settings)
{
    EasyHandle curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        throw CalvenorError(QStringLiteral("Impossible de préparer la requête HTTP : mémoire insuffisante."));
    bool usesSettingsPort = false;
    const QByteArray address = fullAddress(url, &usesSettingsPort).toUtf8();
    Answer answer;
    answer.limit = m_maxAnswerBytes;
    char detail[CURL_ERROR_SIZE] = {};

    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, address.constData());
    curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, MaxRedirects);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, m_connectTimeoutMs);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, m_requestTimeoutMs);
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(m_maxAnswerBytes));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &answer);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, detail);
    if (usesSettingsPort)
        curl_easy_setopt(c, CURLOPT_PORT, static_cast<long>(settings.port));
    applyProxy(c, settings);

    const CURLcode code = curl_easy_perform(c);
    if (code != CURLE_OK)
        throw failure(code, url, settings, c, answer, detail);
    return answer.bytes;
}
