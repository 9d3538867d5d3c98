#include "app/AlbumCover.h"
#include "cddb/AlbumRelease.h"
#include "cddb/CoverArtArchive.h"
#include "disc/AlbumSheet.h"
#include "platform/HttpCancelled.h"

AlbumCover::AlbumCover(AlbumSheet& sheet, IHttpClient* http, QObject* parent)
    : QObject(parent), m_sheet(sheet), m_http(http)
{
    connect(&m_sheet, &AlbumSheet::AlbumChanged, this, [this] { albumChanged(); });
}

AlbumCover::~AlbumCover()
{
    stopFetch();
}

void AlbumCover::TakeFile(const QString& path)
{
    const CoverImage cover = CoverImage::FromFile(path);
    m_sheet.SetFrontCover(cover.bytes, cover.mime, AlbumSheet::CoverOrigin::ChosenFile);
}

void AlbumCover::albumChanged()
{
    const AlbumSheet::Album& album = m_sheet.AlbumValues();
    const QString release = album.ids.value(AlbumRelease::MusicBrainzReleaseId);
    if (release == m_release)
        return;
    m_release = release;
    stopFetch();
    if (album.frontCoverOrigin == AlbumSheet::CoverOrigin::CoverArtArchive)
        m_sheet.SetFrontCover({}, {}, AlbumSheet::CoverOrigin::None);
    if (m_http && !release.isEmpty() && m_sheet.AlbumValues().frontCoverOrigin != AlbumSheet::CoverOrigin::ChosenFile)
        fetch(release);
}

void AlbumCover::fetch(const QString& releaseId)
{
    m_cancel = false;
    m_fetching = true;
    m_thread = std::thread([this, releaseId] {
        CoverArtArchive archive(*m_http);
        archive.SetServer(m_server);
        archive.SetCancelFlag(&m_cancel);
        try {
            const CoverImage cover = archive.FrontCover(releaseId);
            QMetaObject::invokeMethod(this, [this, releaseId, cover] { fetched(releaseId, cover); },
                                      Qt::QueuedConnection);
        } catch (const HttpCancelled&) {
        }
    });
}

void AlbumCover::stopFetch()
{
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
    m_fetching = false;
}

// A late answer for an album the sheet no longer holds is dropped.
void AlbumCover::fetched(const QString& releaseId, const CoverImage& cover)
{
    if (releaseId != m_release)
        return;
    stopFetch();
    if (!cover.IsEmpty() && m_sheet.AlbumValues().frontCoverOrigin != AlbumSheet::CoverOrigin::ChosenFile)
        m_sheet.SetFrontCover(cover.bytes, cover.mime, AlbumSheet::CoverOrigin::CoverArtArchive);
    emit FetchEnded();
}
