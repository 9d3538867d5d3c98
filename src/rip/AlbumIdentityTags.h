#pragma once
#include "disc/AlbumSheet.h"
#include "disc/DiscToc.h"
#include "platform/TagFields.h"

// What a rip's files say of the album beyond each track's own values: the
// album artist, the disc's place in the release, whether the album is a
// compilation, its label and catalogue number, its full date, the disc's
// ISRCs and MusicBrainz's identifiers. Taken from the sheet when the run
// starts, as the rows are.
class AlbumIdentityTags {
public:
    AlbumIdentityTags() = default;
    AlbumIdentityTags(const AlbumSheet& sheet, const DiscToc& toc);

    // Adds them to the fields of track: the date in full only while the
    // track's year is still the release's.
    void Fill(TagFields& fields, const AlbumTrack& track) const;
    // The album's artist ("Various Artists" for a compilation); empty when unknown.
    const QString& AlbumArtist() const { return m_album.artist; }
    // The disc's table, once its ISRCs are known.
    void SetDisc(const DiscToc& toc) { m_toc = toc; }

private:
    AlbumSheet::Album m_album;
    bool m_compilation = false;
    DiscToc m_toc;
};
