#pragma once
#include "platform/IHttpClient.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

class DiscToc;

// The CUETools database over HTTP: one lookup of the disc by its table of
// contents, answered in XML with one entry per rip the database holds.
class CtdbDatabase {
public:
    struct Entry {
        uint32_t Crc = 0;   // of the whole disc, see CtdbCrc
        int Confidence = 0; // how many rips gave it
        QList<uint32_t> TrackCrcs; // each audio track's, in disc order; none in older entries
        // The repair data the entry announces (CtdbParityFetch): its rows of
        // syndromes (npar) of columns a row of stride samples long, column 0's
        // syndromes as little-endian words, and where they are; none: empty.
        QString ParityAddress;
        int Npar = 0;
        int Stride = 0;
        QByteArray Syndrome;
        // The repair data can mend a rip: CtdbWindow's rows.
        bool HasParity() const;
    };

    static const QString DefaultServer;

    // cancel, when given, ends a request under way as soon as it is set.
    CtdbDatabase(IHttpClient& http, const QString& server = DefaultServer, const std::atomic<bool>* cancel = nullptr);

    // "<server>/lookup2.php?version=3&ctdb=1&fuzzy=0&toc=..."
    QString Address(const DiscToc& toc) const;
    // The entries for the disc; none when the database does not know it.
    // Other failures raise CalvenorError with a French text.
    QList<Entry> Lookup(const DiscToc& toc);
    // The entries of an answer; one that is not the database's XML raises.
    // A parity path without a host is on the server's.
    static QList<Entry> Parse(const QByteArray& xml, const QString& server = DefaultServer);

private:
    IHttpClient& m_http;
    QString m_server;
    HttpSettings m_settings;
};
