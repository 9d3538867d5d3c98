#include "cddb/CoverFetch.h"
#include "cddb/CoverArtArchive.h"
#include "platform/HttpCancelled.h"

CoverFetch::CoverFetch(IHttpClient& http, QObject* parent) : QObject(parent), m_http(http) {}

CoverFetch::~CoverFetch()
{
    Stop();
}

void CoverFetch::Start(const QString& releaseId)
{
    Stop();
    m_cancel = false;
    m_running = true;
    const unsigned generation = m_generation;
    m_thread = std::thread([this, generation, releaseId, server = m_server] {
        CoverArtArchive archive(m_http);
        archive.SetServer(server);
        archive.SetCancelFlag(&m_cancel);
        try {
            const CoverImage cover = archive.FrontCover(releaseId);
            QMetaObject::invokeMethod(
                this, [this, generation, releaseId, cover] { delivered(generation, releaseId, cover); },
                Qt::QueuedConnection);
        } catch (const HttpCancelled&) {
        }
    });
}

void CoverFetch::Stop()
{
    ++m_generation;
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
    m_running = false;
}

void CoverFetch::delivered(unsigned generation, const QString& releaseId, const CoverImage& cover)
{
    if (generation != m_generation)
        return;
    Stop();
    emit Fetched(releaseId, cover);
}
