#include "rip/AlbumIdentityTags.h"

AlbumIdentityTags::AlbumIdentityTags(const AlbumSheet& sheet, const DiscToc& toc)
    : m_album(sheet.AlbumValues()), m_compilation(AlbumSheet::IsCompilation(sheet.AlbumValues())),
      m_toc(toc)
{
    m_album.artist = AlbumSheet::AlbumArtist(sheet.AlbumValues(), sheet.Tracks());
}

void AlbumIdentityTags::Fill(TagFields& fields, const AlbumTrack& track) const
{
    fields.albumArtist = m_album.artist;
    fields.discNumber = m_album.discNumber;
    fields.discTotal = m_album.discCount;
    fields.compilation = m_compilation;
    fields.label = m_album.label;
    fields.catalogNumber = m_album.catalogNumber;
    if (!fields.year.isEmpty() && m_album.date.startsWith(fields.year))
        fields.year = m_album.date;
    if (const TocTrack* disc = m_toc.Track(track.number))
        fields.isrc = disc->isrc;
    fields.musicBrainz.release = m_album.ids.value(AlbumSheet::MusicBrainzReleaseId);
    fields.musicBrainz.releaseGroup = m_album.ids.value(AlbumSheet::MusicBrainzReleaseGroupId);
    fields.musicBrainz.albumArtist = m_album.ids.value(AlbumSheet::MusicBrainzAlbumArtistId);
    fields.musicBrainz.artists = track.musicBrainz.artists;
    fields.musicBrainz.releaseTrack = track.musicBrainz.releaseTrack;
    fields.musicBrainz.recording = track.musicBrainz.recording;
}
