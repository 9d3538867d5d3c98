#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

// The flac command-line tool: an encoder and decoder independent of ours.
class FlacTool {
public:
    // Encodes raw little-endian signed PCM into a FLAC file; false when flac fails or is missing.
    static bool Encode(const QByteArray& pcm, int channels, int sampleRate, int bits, const QString& flac);
    // The file's audio as raw little-endian PCM; nothing when flac refuses it
    // (a damaged frame, audio that does not match its MD5).
    static std::optional<QByteArray> Decode(const QString& flac);
    // The MD5 STREAMINFO holds, as 32 hex digits.
    static QString Md5(const QString& flac);
};
