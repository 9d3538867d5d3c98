#include "app/cli/CoverOptions.h"
#include "cddb/AlbumRelease.h"
#include "cddb/CoverArtArchive.h"
#include "platform/CurlHttpClient.h"

RipCover CoverOptions::Make(const AlbumSheet::Album& album, std::unique_ptr<IHttpClient>& http) const
{
    const Settings::CoverUse use = Settings().Cover();
    const QString file = m_parser.value(QStringLiteral("cover"));
    if (!file.isEmpty())
        return RipCover(CoverImage::FromFile(file), AlbumSheet::CoverOrigin::ChosenFile, use);
    const QString release = album.ids.value(AlbumRelease::MusicBrainzReleaseId);
    if (use == Settings::CoverUse::None || release.isEmpty())
        return RipCover();
    if (!http)
        http = std::make_unique<CurlHttpClient>();
    CoverArtArchive archive(*http);
    archive.SetServer(m_parser.value(QStringLiteral("cover-server")));
    const CoverImage image = archive.FrontCover(release);
    const RipCover cover(image, AlbumSheet::CoverOrigin::CoverArtArchive, use);
    if (!image.failure.isEmpty())
        m_err << QStringLiteral("Pochette : ") << cover.LogText() << Qt::endl;
    return cover;
}
