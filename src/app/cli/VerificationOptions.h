#pragma once
#include "rip/RipVerification.h"
#include <QCommandLineParser>
#include <QString>
#include <functional>
#include <memory>

class DiscToc;
class IHttpClient;

// The databases a rip of calvenor-rip asks, from its options: each one's
// server, whether it is turned off, and none without a network (a server on
// this machine needs none).
class VerificationOptions {
public:
    explicit VerificationOptions(const QCommandLineParser& parser) : m_parser(parser) {}

    // http is made on first need; toc is read only when a database is asked.
    RipVerification Make(std::unique_ptr<IHttpClient>& http, const std::function<const DiscToc&()>& toc) const;

private:
    // Why the database at server is not asked, given its turn-off option;
    // empty when it is asked.
    QString skipReason(const QString& server, const QString& turnOff) const;

    const QCommandLineParser& m_parser;
};
