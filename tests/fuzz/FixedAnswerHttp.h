#pragma once
#include "platform/IHttpClient.h"

// Answers every request with the same bytes: the fuzzer's input.
class FixedAnswerHttp : public IHttpClient {
public:
    FixedAnswerHttp(const uint8_t* data, size_t size) : m_answer(reinterpret_cast<const char*>(data), qsizetype(size)) {}
    QByteArray Get(const QString&, const HttpSettings&) override { return m_answer; }

private:
    QByteArray m_answer;
};
