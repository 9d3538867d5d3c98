#include "app/AlbumCover.h"
#include "cddb/AlbumRelease.h"
#include "cddb/CoverFetch.h"
#include "disc/AlbumSheet.h"

AlbumCover::AlbumCover(AlbumSheet& sheet, IHttpClient* http, QObject* parent) : QObject(parent), m_sheet(sheet)
{
    if (http) {
        m_fetch = std::make_unique<CoverFetch>(*http);
        connect(m_fetch.get(), &CoverFetch::Fetched, this, [this](const QString&, const CoverImage& cover) {
            fetched(cover);
        });
    }
    connect(&m_sheet, &AlbumSheet::AlbumChanged, this, [this] { albumChanged(); });
}

AlbumCover::~AlbumCover() = default;

void AlbumCover::SetServer(const QString& url)
{
    if (m_fetch)
        m_fetch->SetServer(url);
}

bool AlbumCover::Fetching() const
{
    return m_fetch && m_fetch->Running();
}

void AlbumCover::TakeFile(const QString& path)
{
    const CoverImage cover = CoverImage::FromFile(path);
    m_sheet.SetFrontCover(cover, AlbumSheet::CoverOrigin::ChosenFile);
}

void AlbumCover::albumChanged()
{
    const AlbumSheet::Album& album = m_sheet.AlbumValues();
    const QString release = album.ids.value(AlbumRelease::MusicBrainzReleaseId);
    if (release == m_release)
        return;
    m_release = release;
    if (m_fetch)
        m_fetch->Stop();
    if (album.frontCoverOrigin == AlbumSheet::CoverOrigin::CoverArtArchive || !album.frontCoverFailure.isEmpty())
        m_sheet.SetFrontCover({}, AlbumSheet::CoverOrigin::None);
    if (m_fetch && !release.isEmpty() && m_sheet.AlbumValues().frontCoverOrigin != AlbumSheet::CoverOrigin::ChosenFile)
        m_fetch->Start(release);
}

void AlbumCover::fetched(const CoverImage& cover)
{
    // A cover not fetched is told as such, unless a chosen file stands.
    if ((!cover.IsEmpty() || !cover.failure.isEmpty())
        && m_sheet.AlbumValues().frontCoverOrigin != AlbumSheet::CoverOrigin::ChosenFile)
        m_sheet.SetFrontCover(cover, AlbumSheet::CoverOrigin::CoverArtArchive);
}
