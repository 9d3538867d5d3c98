#pragma once
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class FlacDecoder;
class WavReader;

// The audio of a ripped track read back from its file: CD audio (16-bit
// stereo at 44100 Hz) in a WAV or a FLAC file, as little-endian PCM. An MP3
// file does not hold the disc's audio and is not read.
class TrackAudioFile {
public:
    // Raises CalvenorError with a French text when the file cannot be read,
    // is of another kind or holds anything but CD audio.
    explicit TrackAudioFile(const QString& path);
    ~TrackAudioFile();
    TrackAudioFile(const TrackAudioFile&) = delete;
    TrackAudioFile& operator=(const TrackAudioFile&) = delete;

    // A WAV or a FLAC file, by its name.
    static bool Lossless(const QString& path);
    static bool IsWav(const QString& path);

    // Bytes of audio the file announces.
    int64_t Bytes() const { return m_bytes; }
    // Where the audio starts in a WAV file.
    int64_t WavDataOffset() const;
    // The next piece of audio into pcm (resized to it); false at the end.
    bool Read(std::vector<uint8_t>& pcm);

private:
    QString m_path;
    std::unique_ptr<WavReader> m_wav;
    std::unique_ptr<FlacDecoder> m_flac;
    std::vector<int32_t> m_samples;
    int64_t m_bytes = 0;
};
