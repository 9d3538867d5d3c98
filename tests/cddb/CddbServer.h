#pragma once
#include <QJsonObject>
#include <QList>
#include "support/ScriptServer.h"
#include <QString>
#include <QTemporaryDir>

// The test CDDB server (cddb_server.py) on 127.0.0.1 and a free port, for
// the life of the object. Every request it gets is logged.
class CddbServer {
public:
    // The records of tests/cddb/records, or those of another folder.
    explicit CddbServer(const QString& recordsFolder = DefaultRecords());
    ~CddbServer();
    CddbServer(const CddbServer&) = delete;
    CddbServer& operator=(const CddbServer&) = delete;

    static QString DefaultRecords();
    int Port() const { return m_server.Port(); }
    // The base address a client is given: "http://127.0.0.1:PORT/~cddb".
    QString Url() const;
    // The requests received so far: "target" (as on the request line) and "headers".
    QList<QJsonObject> Requests() const;
    // A port with nothing listening on it.
    static int ClosedPort();

private:
    QTemporaryDir m_logFolder;
    ScriptServer m_server;
};
