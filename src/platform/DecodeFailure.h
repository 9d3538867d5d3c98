#pragma once
#include <QString>

// What the user reads about an audio file that cannot be decoded, the same
// words whatever its format.
class DecodeFailure {
public:
    // "… n'est pas un fichier <format> lisible."
    static QString Unreadable(const QString& path, const QString& format);
    static QString Damaged(const QString& path);
    static QString CutShort(const QString& path);
    // Audio of more channels than mono and stereo.
    static QString TooManyChannels(const QString& path, int channels);
};
