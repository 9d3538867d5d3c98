#pragma once
#include "platform/TagFields.h"
#include "rip/TrackRipResult.h"
#include <QList>
#include <QString>
#include <optional>

// ReplayGain 2.0 from the loudness measured as the tracks were read: a gain
// brings the audio to -18 LUFS; the peak is the sample peak. The album's
// loudness is that of its numbered tracks' audio taken as one (their gated
// blocks together), the hidden track before track 1 left out.
class ReplayGain {
public:
    static constexpr double ReferenceLufs = -18.0;

    struct Loudness {
        double lufs = 0;
        double peak = 0; // linear, 1.0 = full scale
        double GainDb() const { return ReferenceLufs - lufs; }
    };

    // None when the track was not measured or is silence.
    static std::optional<Loudness> OfTrack(const TrackRipResult& track);
    // None when a numbered track of the list was not measured, or all are silence.
    static std::optional<Loudness> OfAlbum(const QList<TrackRipResult>& tracks);
    // The tag values of a track, with the album's when given.
    static TagFields::ReplayGain Values(const TrackRipResult& track, const std::optional<Loudness>& album);
    // "-9.4 LUFS, gain -8.60 dB, crête 0.998749"
    static QString Text(const Loudness& loudness);
};
