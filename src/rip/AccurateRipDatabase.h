#pragma once
#include "platform/IHttpClient.h"
#include "rip/AccurateRipResponse.h"
#include <QList>
#include <QString>

class AccurateRipDiscId;

// The AccurateRip database over HTTP: one GET of the disc's file.
class AccurateRipDatabase {
public:
    static const QString DefaultServer;

    // cancel, when given, ends a request under way as soon as it is set.
    AccurateRipDatabase(IHttpClient& http, const QString& server = DefaultServer,
                        const std::atomic<bool>* cancel = nullptr);

    // "<server>/<a>/<b>/<c>/dBAR-....bin"
    QString Address(const AccurateRipDiscId& disc) const;
    // The responses of the disc's file; none when the database has no file
    // for the disc. Other failures raise CalvenorError with a French text.
    QList<AccurateRipResponse> Lookup(const AccurateRipDiscId& disc);

private:
    IHttpClient& m_http;
    QString m_server;
    HttpSettings m_settings;
};
