#pragma once
#include "disc/AlbumTrack.h"
#include "platform/TagFields.h"
#include "rip/AlbumIdentityTags.h"
#include "rip/RipCover.h"

class TMP3Info;

// A ripped track's tags: its own values and number, and what the run adds
// (the album's identity, its cover, the loudness measured).
class TrackTagging {
public:
    // Into the file at the track's target path: ID3v2 (MP3 files) and
    // ID3v1, or a Vorbis comment (FLAC files). With data, into the bytes
    // reached there (a file not yet named), as the tags of the target.
    // The TRACKTOTAL of a disc with these tracks: its numbered ones, a hidden
    // track before track 1 left out.
    static int TrackTotal(const QList<AlbumTrack>& discTracks);
    static void Write(TMP3Info& tags, const AlbumTrack& track, int trackTotal = 0, const AlbumIdentityTags& album = {},
                      const RipCover& cover = {}, const TagFields::ReplayGain& gain = {}, const QString& data = {});
};
