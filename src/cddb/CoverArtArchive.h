#pragma once
#include "platform/CoverImage.h"
#include <QString>
#include <atomic>

class IHttpClient;

// The front cover of a MusicBrainz release from the Cover Art Archive: one
// GET of <server>/release/<id>/front-500, whose redirect to the image's own
// address is followed. A cover is a nicety and never an error: a release
// without one (404) gives no cover; whatever else goes wrong (no network, a
// server that stalls, a broken or oversized image) gives no cover with its
// failure in a few French words.
class CoverArtArchive {
public:
    static const QString DefaultServer; // "https://coverartarchive.org"

    // How much a cover may weigh, and how slow its transfer may be: a
    // 100 kB cover slower than 1 KiB/s would miss the client's time limit
    // anyway, so a transfer that slow for 15 s is given up then.
    struct Limits {
        qsizetype maxBytes = CoverImage::MaxBytes;
        long minBytesPerSecond = 1024;
        long slowSeconds = 15;
    };

    explicit CoverArtArchive(IHttpClient& http);

    // Empty: the default server.
    void SetServer(const QString& url);
    void SetLimits(const Limits& limits) { m_limits = limits; }
    // A flag that, once set from any thread, ends the request with HttpCancelled.
    void SetCancelFlag(const std::atomic<bool>* flag) { m_cancel = flag; }
    QString FrontUrl(const QString& releaseId) const;

    // Empty, failure empty too, when the release has no cover.
    CoverImage FrontCover(const QString& releaseId) const;

private:
    IHttpClient& m_http;
    QString m_server;
    Limits m_limits;
    const std::atomic<bool>* m_cancel = nullptr;
};
