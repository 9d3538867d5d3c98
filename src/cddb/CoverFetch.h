#pragma once
#include "platform/CoverImage.h"
#include <QObject>
#include <QString>
#include <atomic>
#include <thread>

class IHttpClient;

// Fetches a release's front cover from the Cover Art Archive on a thread of
// its own, so that the window asking goes on meanwhile. One fetch at a time:
// starting another gives up the one under way, whose answer never comes.
class CoverFetch : public QObject {
    Q_OBJECT
public:
    explicit CoverFetch(IHttpClient& http, QObject* parent = nullptr);
    // Gives up a fetch under way.
    ~CoverFetch() override;

    // Empty: the Cover Art Archive's own server.
    void SetServer(const QString& url) { m_server = url; }
    void Start(const QString& releaseId);
    void Stop();
    bool Running() const { return m_running; }

signals:
    // On the thread that started the fetch; an empty cover when the release
    // has none, or with its failure when it could not be fetched.
    void Fetched(const QString& releaseId, const CoverImage& cover);

private:
    void delivered(unsigned generation, const QString& releaseId, const CoverImage& cover);

    IHttpClient& m_http;
    QString m_server;
    bool m_running = false;
    // Tells the answer of a fetch given up from the current one's.
    unsigned m_generation = 0;
    std::atomic<bool> m_cancel{false};
    std::thread m_thread;
};
