#pragma once
#include "platform/IHttpClient.h"

// GET over libcurl, with time-outs so that no lookup holds the program for
// long, and a cap on the size of an answer. Redirects are followed here, one
// by one, so that none leads from https to plain http.
class CurlHttpClient : public IHttpClient {
public:
    static constexpr long DefaultConnectTimeoutMs = 10000;
    static constexpr long DefaultTimeLimitMs = 30000;
    static constexpr qsizetype DefaultMaxAnswerBytes = 1024 * 1024;
    static constexpr int MaxRedirects = 5;

    // timeLimitMs bounds a whole Get, every redirect included.
    explicit CurlHttpClient(long connectTimeoutMs = DefaultConnectTimeoutMs, long timeLimitMs = DefaultTimeLimitMs,
                            qsizetype maxAnswerBytes = DefaultMaxAnswerBytes);

    QByteArray Get(const QString& url, const HttpSettings& settings) override;
    HttpPart GetFirstBytes(const QString& url, qsizetype bytes, const HttpSettings& settings) override;

    // Empty when a redirect from `from` to `to` may be followed, else the French
    // reason it is refused: only http and https, and never from https to http.
    static QString RedirectRefusal(const QString& from, const QString& to);

private:
    using Clock = std::chrono::steady_clock;
    struct Hop;
    // firstBytes: a Range request for that many bytes; 0: the whole resource.
    Hop fetch(const QString& url, const HttpSettings& settings, qsizetype firstBytes);
    Hop getOnce(const QString& url, bool usesSettingsPort, const HttpSettings& settings, Clock::time_point deadline,
                qsizetype firstBytes);

    long m_connectTimeoutMs;
    long m_timeLimitMs;
    qsizetype m_maxAnswerBytes;
};
