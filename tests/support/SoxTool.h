#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

// The sox command-line tool: sound made and read by a program apart from ours.
class SoxTool {
public:
    // A WAV file of a tone, seconds long, written as sox writes that format
    // (WAVE_FORMAT_EXTENSIBLE past 16 bits); false when sox fails or is missing.
    static bool Tone(const QString& wav, int rate, int bits, int channels, double seconds);
    // The file's audio as sox reads it: signed little-endian samples of the file's own width.
    static std::optional<QByteArray> Raw(const QString& file);
    // What `sox --i` says of the file: "-r" its rate, "-b" its bits, "-s" its samples a channel.
    static QString Info(const QString& file, const char* what);
};
