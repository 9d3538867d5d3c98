#pragma once
#include <QHash>
#include <QString>
#include <cstdint>

class DiscToc;

// A disc as the AccurateRip database knows it: its audio tracks, two sums
// over their start sectors and the lead-out, and the CDDB identifier. A data
// track is left out of the count and the sums, but the lead-out stays the
// disc's own, as the database expects of an enhanced CD.
class AccurateRipDiscId {
public:
    // Raises CalvenorError with a French text when the table is empty.
    explicit AccurateRipDiscId(const DiscToc& toc);

    int AudioTrackCount() const { return m_audioTracks; }
    uint32_t OffsetsAdded() const { return m_offsetsAdded; }
    uint32_t OffsetsMultiplied() const { return m_offsetsMultiplied; }
    uint32_t CddbId() const { return m_cddbId; }
    // "NNN-XXXXXXXX-XXXXXXXX-XXXXXXXX"
    QString Text() const;
    // "dBAR-" + Text() + ".bin"
    QString FileName() const;
    // "<a>/<b>/<c>/" + FileName(), a, b, c the last three hex digits of OffsetsAdded, last first.
    QString DatabasePath() const;
    // Where the database answers for the audio track of that number on the
    // disc, from 1: its place among all the tracks, for the database gives
    // a leading data track a place of its own. 0 when it is not an audio track.
    int Slot(int trackNumber) const { return m_slots.value(trackNumber); }

private:
    QHash<int, int> m_slots;
    int m_audioTracks = 0;
    uint32_t m_offsetsAdded = 0;
    uint32_t m_offsetsMultiplied = 0;
    uint32_t m_cddbId = 0;
};
