#pragma once
#include "rip/TTrack.h"
#include <QList>
#include <QString>
#include <cstdint>

// A disc as the AccurateRip database knows it: its audio tracks, two sums
// over their start sectors and the lead-out, and the CDDB identifier. A data
// track (an enhanced CD's second session) is left out of the count and the
// sums, but the lead-out stays the disc's own, as the database expects.
class AccurateRipDiscId {
public:
    // tracks: the ripper's table of contents; cddbId: the disc's CDDB identifier.
    AccurateRipDiscId(const QList<TrackEntry>& tracks, uint32_t cddbId);

    int AudioTrackCount() const { return static_cast<int>(m_audioTracks.size()); }
    uint32_t OffsetsAdded() const { return m_offsetsAdded; }
    uint32_t OffsetsMultiplied() const { return m_offsetsMultiplied; }
    uint32_t CddbId() const { return m_cddbId; }
    // "dBAR-NNN-XXXXXXXX-XXXXXXXX-XXXXXXXX.bin"
    QString FileName() const;
    // "<a>/<b>/<c>/" + FileName(), a, b, c the last three hex digits of OffsetsAdded, last first.
    QString DatabasePath() const;
    // A track's place among the audio tracks, from 1; 0 when it is not one of them.
    int AudioIndex(int trackNum) const;

private:
    QList<int> m_audioTracks;
    uint32_t m_offsetsAdded = 0;
    uint32_t m_offsetsMultiplied = 0;
    uint32_t m_cddbId;
};
