#pragma once
#include "platform/TagFields.h"
#include <QString>
#include <vector>

// ReplayGain 2.0 values as tags hold them: a gain as "-6.52 dB" or "+5.00 dB", a linear
// peak as "0.998749", under REPLAYGAIN_TRACK_GAIN, REPLAYGAIN_TRACK_PEAK,
// REPLAYGAIN_ALBUM_GAIN and REPLAYGAIN_ALBUM_PEAK (ID3v2 TXXX descriptions
// and Vorbis comment names alike).
class ReplayGainText {
public:
    static QString Gain(double db);
    static QString Peak(double peak);

    struct Entry {
        const char* name;
        QString text; // empty: the tag holds no such value
    };
    // The four names, each with its text: empty for the values not measured.
    static std::vector<Entry> Entries(const TagFields::ReplayGain& gain);
    // Takes one value read back under its name; false for another name or a text that is no number.
    static bool Read(const QString& name, const QString& text, TagFields::ReplayGain& gain);
};
