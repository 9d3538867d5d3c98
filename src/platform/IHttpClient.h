#pragma once
#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>
#include <optional>

// How a request reaches its server.
struct HttpSettings {
    // Used for an address given without a scheme or a port of its own.
    int port = 80;
    // No proxy when empty.
    QString proxyServer;
    int proxyPort = 80;
    QString proxyUsername;
    QString proxyPassword;
    // Sent as the User-Agent header.
    QString userAgent = QStringLiteral("Calvenor/" CALVENOR_VERSION);
    // Set from another thread, it ends the request at once with HttpCancelled.
    const std::atomic<bool>* cancel = nullptr;
    // When the lookup began, if before the request (a wait for its turn):
    // its time limit counts from then rather than from the call.
    std::optional<std::chrono::steady_clock::time_point> lookupStart;
    // The largest answer taken, in bytes; 0: the client's own cap.
    qsizetype maxAnswerBytes = 0;
    // A transfer slower than minBytesPerSecond for slowSeconds on end fails
    // as a time-out would, before the time limit; 0: no such floor.
    long minBytesPerSecond = 0;
    long slowSeconds = 0;
};

// The start of a resource, asked for with an HTTP Range request.
struct HttpPart {
    QByteArray bytes;
    // The server answered with the whole resource (200) rather than the part asked for (206).
    bool whole = false;
};

// GET of an http or https address into memory, its redirects included, all
// within one time limit. Failures raise CalvenorError with a French text: an
// HTTP error status HttpStatusError; no connection, a time-out, an answer
// too large, too many redirects or one that would leave https HttpFailure;
// a cancelled request raises HttpCancelled.
class IHttpClient {
public:
    virtual ~IHttpClient() = default;
    virtual QByteArray Get(const QString& url, const HttpSettings& settings) = 0;
    // The first `bytes` bytes of the resource at url; a server that does not
    // take ranges sends all of it, and so does this default.
    virtual HttpPart GetFirstBytes(const QString& url, qsizetype bytes, const HttpSettings& settings)
    {
        (void)bytes;
        return HttpPart{Get(url, settings), true};
    }
};
