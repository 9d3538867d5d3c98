#pragma once
#include <QString>

// The kind of file a rip writes: raw PCM, WAV, MP3 or FLAC.
enum class FileFormat { Pcm, Wav, Mp3, Flac };

// The extension of its files: ".flac", ".mp3", else ".wav".
inline QString ExtensionOf(FileFormat format)
{
    switch (format) {
    case FileFormat::Flac:
        return QStringLiteral(".flac");
    case FileFormat::Mp3:
        return QStringLiteral(".mp3");
    default:
        return QStringLiteral(".wav");
    }
}

// An MP3 or FLAC file: the audio goes through an encoder.
inline bool IsEncoded(FileFormat format)
{
    return format == FileFormat::Mp3 || format == FileFormat::Flac;
}
