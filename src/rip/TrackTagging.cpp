#include "rip/TrackTagging.h"
#include "tags/TrackTags.h"
#include <algorithm>

int TrackTagging::TrackTotal(const QList<AlbumTrack>& discTracks)
{
    return static_cast<int>(
        std::count_if(discTracks.begin(), discTracks.end(), [](const AlbumTrack& t) { return t.number > 0; }));
}

void TrackTagging::Write(TMP3Info& tags, const AlbumTrack& track, int trackTotal, const AlbumIdentityTags& album,
                         const RipCover& cover, const TagFields::ReplayGain& gain, const QString& data)
{
    TagFields fields;
    fields.title = track.value(AlbumTrack::Title);
    fields.artist = track.value(AlbumTrack::Artist);
    fields.album = track.value(AlbumTrack::Album);
    fields.year = track.value(AlbumTrack::Year);
    fields.genre = track.value(AlbumTrack::Genre);
    fields.comment = track.value(AlbumTrack::Comment);
    fields.track = track.number;
    fields.trackTotal = trackTotal;
    album.Fill(fields, track);
    cover.Fill(fields);
    fields.replayGain = gain;
    const QString target = track.value(AlbumTrack::Target);
    TrackTags::WriteAs(tags, data.isEmpty() ? target : data, target, fields);
}
