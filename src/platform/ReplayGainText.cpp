#include "platform/ReplayGainText.h"

namespace {
const char TrackGain[] = "REPLAYGAIN_TRACK_GAIN";
const char TrackPeak[] = "REPLAYGAIN_TRACK_PEAK";
const char AlbumGain[] = "REPLAYGAIN_ALBUM_GAIN";
const char AlbumPeak[] = "REPLAYGAIN_ALBUM_PEAK";
const QString Decibels = QStringLiteral("dB");

bool number(QString text, double& value)
{
    text = text.trimmed();
    if (text.endsWith(Decibels, Qt::CaseInsensitive))
        text.chop(Decibels.size());
    bool ok = false;
    value = text.trimmed().toDouble(&ok);
    return ok;
}
} // namespace

QString ReplayGainText::Gain(double db)
{
    // A gain carries its sign, as other taggers write it: "+5.00 dB".
    const QString number = QString::number(db, 'f', 2);
    return (number.startsWith('-') ? number : '+' + number) + ' ' + Decibels;
}

QString ReplayGainText::Peak(double peak)
{
    return QString::number(peak, 'f', 6);
}

std::vector<ReplayGainText::Entry> ReplayGainText::Entries(const TagFields::ReplayGain& gain)
{
    const bool track = gain.measured;
    const bool album = gain.measured && gain.albumMeasured;
    return {
        {TrackGain, track ? Gain(gain.trackGainDb) : QString()},
        {TrackPeak, track ? Peak(gain.trackPeak) : QString()},
        {AlbumGain, album ? Gain(gain.albumGainDb) : QString()},
        {AlbumPeak, album ? Peak(gain.albumPeak) : QString()},
    };
}

bool ReplayGainText::Read(const QString& name, const QString& text, TagFields::ReplayGain& gain)
{
    const struct {
        const char* name;
        double TagFields::ReplayGain::*value;
        bool TagFields::ReplayGain::*measured;
    } values[] = {
        {TrackGain, &TagFields::ReplayGain::trackGainDb, &TagFields::ReplayGain::measured},
        {TrackPeak, &TagFields::ReplayGain::trackPeak, &TagFields::ReplayGain::measured},
        {AlbumGain, &TagFields::ReplayGain::albumGainDb, &TagFields::ReplayGain::albumMeasured},
        {AlbumPeak, &TagFields::ReplayGain::albumPeak, &TagFields::ReplayGain::albumMeasured},
    };
    for (const auto& v : values) {
        double value = 0;
        if (name.compare(QLatin1String(v.name), Qt::CaseInsensitive) != 0 || !number(text, value))
            continue;
        gain.*v.value = value;
        gain.*v.measured = true;
        return true;
    }
    return false;
}
