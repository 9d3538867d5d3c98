#pragma once
#include <QString>

// The kind of file a rip writes: raw PCM, WAV, MP3, FLAC, Opus or Ogg Vorbis.
enum class FileFormat { Pcm, Wav, Mp3, Flac, Opus, Vorbis };

// The extension of its files: ".flac", ".mp3", ".opus", ".ogg", else ".wav".
inline QString ExtensionOf(FileFormat format)
{
    switch (format) {
    case FileFormat::Flac:
        return QStringLiteral(".flac");
    case FileFormat::Mp3:
        return QStringLiteral(".mp3");
    case FileFormat::Opus:
        return QStringLiteral(".opus");
    case FileFormat::Vorbis:
        return QStringLiteral(".ogg");
    default:
        return QStringLiteral(".wav");
    }
}

// A compressed file: the audio goes through an encoder.
inline bool IsEncoded(FileFormat format)
{
    return format != FileFormat::Pcm && format != FileFormat::Wav;
}
