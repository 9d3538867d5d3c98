#pragma once
#include "cddb/AlbumRelease.h"
#include "platform/PlatformServices.h"
#include <QList>
#include <QString>
#include <atomic>

class DiscToc;

// Asks the MusicBrainz web service which releases hold a disc,
// by the disc's MusicBrainz identifier. At most one request a second, from
// the whole program, as the service asks of its clients.
class MusicBrainzClient {
public:
    static const QString DefaultServer;
    static constexpr int MinIntervalMs = 1000;

    explicit MusicBrainzClient(const PlatformServices& services);

    QString Server() const { return m_server; }
    // Empty: the default server.
    void SetServer(const QString& url);
    // The contact address the User-Agent names.
    void SetContact(const QString& email) { m_contact = email; }
    // A flag that, once set from any thread, ends the request under way
    // with HttpCancelled; none by default.
    void SetCancelFlag(const std::atomic<bool>* flag) { m_cancel = flag; }
    // "Calvenor/<version> ( <contact> )", the program's home page standing
    // for a contact not given.
    QString UserAgent() const;

    // The releases of the disc; none when the service does not know it.
    QList<AlbumRelease> LookupDisc(const DiscToc& toc);
    QList<AlbumRelease> LookupDiscId(const QString& discId, int trackCount);
    QString LookupUrl(const QString& discId) const;

private:
    void waitForTurn() const;

    PlatformServices m_services;
    QString m_server = DefaultServer;
    QString m_contact;
    const std::atomic<bool>* m_cancel = nullptr;
};
