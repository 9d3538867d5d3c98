#pragma once
#include "platform/IHttpClient.h"

// GET over libcurl, with time-outs so that no request holds the program for
// long, and a cap on the size of an answer.
class CurlHttpClient : public IHttpClient {
public:
    static constexpr long DefaultConnectTimeoutMs = 10000;
    static constexpr long DefaultRequestTimeoutMs = 30000;
    static constexpr qsizetype DefaultMaxAnswerBytes = 1024 * 1024;

    explicit CurlHttpClient(long connectTimeoutMs = DefaultConnectTimeoutMs,
                            long requestTimeoutMs = DefaultRequestTimeoutMs,
                            qsizetype maxAnswerBytes = DefaultMaxAnswerBytes);

    QByteArray Get(const QString& url, const HttpSettings& settings) override;

private:
    long m_connectTimeoutMs;
    long m_requestTimeoutMs;
    qsizetype m_maxAnswerBytes;
};
