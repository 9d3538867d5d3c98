#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The tag values of one track, in full: no field width applies here.
struct TagFields {
    QString title;
    // The track's own artist (the album's when the source names none).
    QString artist;
    QString album;
    QString year;
    QString comment;
    // A genre name; written as the text itself.
    QString genre;
    // 0 when unknown.
    int track = 0;
    int trackTotal = 0;
    // Empty when the disc does not give it.
    QString isrc;

    // The album's identity, as music libraries file it; empty or 0 when unknown.
    QString albumArtist;
    int discNumber = 0;
    int discTotal = 0;
    bool compilation = false;
    QString label;
    QString catalogNumber;

    // MusicBrainz identifiers, as its tagger writes them; empty when unknown.
    struct MusicBrainzIds {
        QString release;       // MusicBrainz Album Id
        QString releaseGroup;  // MusicBrainz Release Group Id
        QString albumArtist;   // MusicBrainz Album Artist Id
        QStringList artists;   // MusicBrainz Artist Id: each credited artist's, in credit order
        QString releaseTrack;  // MusicBrainz Release Track Id
        QString recording;     // UFID http://musicbrainz.org / MUSICBRAINZ_TRACKID
    } musicBrainz;

    // The front cover as encoded image bytes; empty when none.
    QByteArray frontCover;
    // "image/jpeg" or "image/png".
    QString frontCoverMime;

    // ReplayGain 2.0 values; written only when measured.
    struct ReplayGain {
        bool measured = false;
        // The album's values too: not when the album's tracks were not all ripped whole.
        bool albumMeasured = false;
        double trackGainDb = 0;
        double trackPeak = 0; // linear, 1.0 = full scale
        double albumGainDb = 0;
        double albumPeak = 0;
    } replayGain;

    // No value at all: a tag block that says nothing. A field added above belongs here too.
    bool Empty() const
    {
        const MusicBrainzIds& ids = musicBrainz;
        return title.isEmpty() && artist.isEmpty() && album.isEmpty() && year.isEmpty() && comment.isEmpty()
            && genre.isEmpty() && track == 0 && trackTotal == 0 && isrc.isEmpty() && albumArtist.isEmpty()
            && discNumber == 0 && discTotal == 0 && !compilation && label.isEmpty() && catalogNumber.isEmpty()
            && ids.release.isEmpty() && ids.releaseGroup.isEmpty() && ids.albumArtist.isEmpty()
            && ids.artists.isEmpty() && ids.releaseTrack.isEmpty() && ids.recording.isEmpty() && frontCover.isEmpty()
            && frontCoverMime.isEmpty() && !replayGain.measured;
    }
};
