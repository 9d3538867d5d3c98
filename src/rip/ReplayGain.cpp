#include "rip/ReplayGain.h"
#include "platform/Ebur128Meter.h"
#include "platform/ReplayGainText.h"
#include "rip/TCDRIP.h"
#include <cmath>
#include <vector>

std::optional<ReplayGain::Loudness> ReplayGain::OfTrack(const TrackRipResult& track)
{
    if (!track.Loudness)
        return std::nullopt;
    const double lufs = track.Loudness->Loudness();
    if (!std::isfinite(lufs))
        return std::nullopt;
    return Loudness{lufs, track.Loudness->Peak()};
}

std::optional<ReplayGain::Loudness> ReplayGain::OfAlbum(const QList<TrackRipResult>& tracks)
{
    std::vector<const Ebur128Meter*> meters;
    double peak = 0;
    for (const TrackRipResult& track : tracks) {
        if (track.TrackNum == TCDRIP::HiddenTrackNumber)
            continue;
        if (!track.Loudness)
            return std::nullopt;
        meters.push_back(track.Loudness.get());
        peak = std::max(peak, track.Loudness->Peak());
    }
    const double lufs = Ebur128Meter::Loudness(meters);
    if (!std::isfinite(lufs))
        return std::nullopt;
    return Loudness{lufs, peak};
}

TagFields::ReplayGain ReplayGain::Values(const TrackRipResult& track, const std::optional<Loudness>& album)
{
    TagFields::ReplayGain values;
    const std::optional<Loudness> own = OfTrack(track);
    if (!own)
        return values;
    values.measured = true;
    values.trackGainDb = own->GainDb();
    values.trackPeak = own->peak;
    if (album) {
        values.albumMeasured = true;
        values.albumGainDb = album->GainDb();
        values.albumPeak = album->peak;
    }
    return values;
}

QString ReplayGain::Text(const Loudness& loudness)
{
    return QStringLiteral("%1 LUFS, gain %2, crête %3")
        .arg(QString::number(loudness.lufs, 'f', 1), ReplayGainText::Gain(loudness.GainDb()),
             ReplayGainText::Peak(loudness.peak));
}
