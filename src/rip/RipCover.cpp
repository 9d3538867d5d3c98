#include "rip/RipCover.h"
#include "platform/WholeFile.h"
#include "platform/FileError.h"
#include "platform/TagFields.h"
#include "platform/TargetNameRule.h"
#include <QFile>

RipCover::RipCover(const CoverImage& image, AlbumSheet::CoverOrigin origin, Settings::CoverUse use)
    : m_image(image), m_origin(image.IsEmpty() ? AlbumSheet::CoverOrigin::None : origin), m_use(use)
{
}

RipCover RipCover::FromAlbum(const AlbumSheet::Album& album, Settings::CoverUse use)
{
    return RipCover({album.frontCover, album.frontCoverMime, album.frontCoverFailure}, album.frontCoverOrigin, use);
}

void RipCover::Fill(TagFields& fields) const
{
    if (m_use != Settings::CoverUse::Embed && m_use != Settings::CoverUse::Both)
        return;
    fields.frontCover = m_image.bytes;
    fields.frontCoverMime = m_image.mime;
}

QString RipCover::FileIn(const QString& folder) const
{
    if (m_image.IsEmpty() || folder.isEmpty()
        || (m_use != Settings::CoverUse::SaveFile && m_use != Settings::CoverUse::Both))
        return QString();
    return TargetNameRule::WithSeparator(folder) + m_image.FileName();
}

bool RipCover::AlreadyIn(const QString& path) const
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == m_image.bytes;
}

void RipCover::Save(const QString& path) const
{
    WholeFile::Write(path, m_image.bytes);
}

QString RipCover::LogText() const
{
    // A cover the settings turn away is none for the files.
    switch (m_use == Settings::CoverUse::None ? AlbumSheet::CoverOrigin::None : m_origin) {
    case AlbumSheet::CoverOrigin::CoverArtArchive:
        return QStringLiteral("Cover Art Archive");
    case AlbumSheet::CoverOrigin::ChosenFile:
        return QStringLiteral("fichier choisi");
    case AlbumSheet::CoverOrigin::None:
        break;
    }
    if (m_use != Settings::CoverUse::None && !m_image.failure.isEmpty())
        return QStringLiteral("non récupérée (%1)").arg(m_image.failure);
    return QStringLiteral("aucune");
}
