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

    AccurateRipDatabase(IHttpClient& http, const QString& server = DefaultServer);

    // "<server>/<a>/<b>/<c>/dBAR-....bin"
    QString Address(const AccurateRipDiscId& disc) const;
    // The responses of the disc's file; none when the database has no file
    // for the disc. Other failures raise CalvenorError with a French text.
    QList<AccurateRipResponse> Lookup(const AccurateRipDiscId& disc);

private:
    IHttpClient& m_http;
    QString m_server;
};
