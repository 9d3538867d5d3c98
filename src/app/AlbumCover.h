#pragma once
#include "platform/CoverImage.h"
#include <QObject>
#include <QString>
#include <atomic>
#include <thread>

class AlbumSheet;
class IHttpClient;

// Keeps the album sheet's front cover: the Cover Art Archive's as soon as the
// album becomes a MusicBrainz release, fetched on a thread of its own so that
// the window goes on, or an image file the user gives, which no fetched
// cover replaces. Another album takes a fetched cover away.
class AlbumCover : public QObject {
    Q_OBJECT
public:
    // Without an HTTP client, nothing is fetched.
    AlbumCover(AlbumSheet& sheet, IHttpClient* http, QObject* parent = nullptr);
    // Gives up a fetch under way.
    ~AlbumCover() override;

    // Empty: the Cover Art Archive's own server.
    void SetServer(const QString& url) { m_server = url; }
    // Raises CalvenorError with a French text when the file is no JPEG or
    // PNG image that can be read.
    void TakeFile(const QString& path);
    // Whether a fetch is under way.
    bool Fetching() const { return m_fetching; }

signals:
    // A fetch ended, with a cover or without.
    void FetchEnded();

private:
    void albumChanged();
    void fetch(const QString& releaseId);
    void stopFetch();
    void fetched(const QString& releaseId, const CoverImage& cover);

    AlbumSheet& m_sheet;
    IHttpClient* m_http;
    QString m_server;
    // The release the cover was last asked for.
    QString m_release;
    bool m_fetching = false;
    std::atomic<bool> m_cancel{false};
    std::thread m_thread;
};
