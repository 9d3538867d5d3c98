#pragma once
#include <QByteArray>
#include <QString>

// How a request reaches its server.
struct HttpSettings {
    // Used for an address given without a scheme or a port of its own.
    int port = 80;
    // No proxy when empty.
    QString proxyServer;
    int proxyPort = 80;
    QString proxyUsername;
    QString proxyPassword;
};

// GET of an http address into memory. Failures (no connection, refused,
// time-out, an HTTP error status, an answer too large) raise CalvenorError
// with a French text.
class IHttpClient {
public:
    virtual ~IHttpClient() = default;
    virtual QByteArray Get(const QString& url, const HttpSettings& settings) = 0;
};
