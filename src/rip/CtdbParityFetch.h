#pragma once
#include "rip/CtdbDatabase.h"
#include "rip/CtdbParity.h"
#include <QByteArray>
#include <QList>
#include <atomic>

class IHttpClient;

// The repair data of a CUETools database entry, fetched as the database's
// own client does: the file holds the entry's rows of syndromes, one after
// the other (CtdbParity), and only the first rows needed are asked for, by an
// HTTP Range request. A server that sends the whole file instead gives every
// row at once.
class CtdbParityFetch {
public:
    CtdbParityFetch(IHttpClient& http, const CtdbDatabase::Entry& entry, const std::atomic<bool>* cancel = nullptr);

    // The rows asked for in turn, each fetch mending more: 4, then 8, then
    // 16, up to the entry's npar.
    static QList<int> Steps(int entryNpar);
    // The entry's first npar rows. Raises CalvenorError with a French text
    // when the server fails, when the answer is not a 206 of exactly those
    // rows or a 200 of the whole file, or when its first column is not the
    // entry's syndrome.
    CtdbParity Rows(int npar);

private:
    QByteArray fetch(int npar);

    IHttpClient& m_http;
    CtdbDatabase::Entry m_entry;
    const std::atomic<bool>* m_cancel;
    QByteArray m_whole; // the whole file, once a server sent it
};
