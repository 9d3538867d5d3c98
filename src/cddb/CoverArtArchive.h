#pragma once
#include "platform/CoverImage.h"
#include <QString>
#include <atomic>

class IHttpClient;

// The front cover of a MusicBrainz release from the Cover Art Archive: one
// GET of <server>/release/<id>/front-500, whose redirect to the image's own
// address is followed. A cover is a nicety: whatever goes wrong (no cover,
// no network, a broken or oversized image) gives no cover and no error.
class CoverArtArchive {
public:
    static const QString DefaultServer; // "https://coverartarchive.org"
    static constexpr qsizetype MaxCoverBytes = 10 * 1024 * 1024;

    explicit CoverArtArchive(IHttpClient& http);

    // Empty: the default server.
    void SetServer(const QString& url);
    // A flag that, once set from any thread, ends the request with HttpCancelled.
    void SetCancelFlag(const std::atomic<bool>* flag) { m_cancel = flag; }
    QString FrontUrl(const QString& releaseId) const;

    // Empty when the release has no cover to be had.
    CoverImage FrontCover(const QString& releaseId) const;

private:
    IHttpClient& m_http;
    QString m_server;
    const std::atomic<bool>* m_cancel = nullptr;
};
