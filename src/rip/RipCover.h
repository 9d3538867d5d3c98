#pragma once
#include "disc/AlbumSheet.h"
#include "platform/CoverImage.h"
#include "platform/Settings.h"
#include <QString>

struct TagFields;

// What a rip makes of the album's front cover, as the settings say: the
// picture in each file's tag, and cover.jpg (cover.png for a PNG) in the
// album's folder, the image's bytes as they came.
class RipCover {
public:
    RipCover() = default;
    RipCover(const CoverImage& image, AlbumSheet::CoverOrigin origin, Settings::CoverUse use);
    static RipCover FromAlbum(const AlbumSheet::Album& album, Settings::CoverUse use);

    // The cover into a track's tag values, when it goes into the files.
    void Fill(TagFields& fields) const;
    // Where it is saved in that folder; empty when it is not saved.
    QString FileIn(const QString& folder) const;
    // Whether path holds this very image already.
    bool AlreadyIn(const QString& path) const;
    // Written aside and renamed; raises FileError with a French text.
    void Save(const QString& path) const;
    // The log's "Pochette" line: "Cover Art Archive" or "fichier choisi";
    // "non récupérée (image illisible)" when the image's failure says why
    // there is none; else "aucune", as when the settings keep it out of the rip.
    QString LogText() const;

private:
    CoverImage m_image;
    AlbumSheet::CoverOrigin m_origin = AlbumSheet::CoverOrigin::None;
    Settings::CoverUse m_use = Settings::CoverUse::None;
};
