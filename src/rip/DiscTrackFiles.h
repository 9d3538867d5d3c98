#pragma once
#include <QList>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

class DiscToc;
struct TrackRipResult;

// The audio tracks of a ripped disc as the WAV or FLAC files that hold them,
// in disc order: the disc's audio from track 1's INDEX 01 on, read back piece
// by piece, each byte counted from the disc's first.
class DiscTrackFiles {
public:
    struct Track {
        int Number = 0;
        QString Path;
        int64_t Bytes = 0; // of audio, as ripped
    };
    // A piece of the disc's audio: bytes from the disc's byte at, whole samples.
    using Feed = std::function<void(int64_t at, const uint8_t* pcm, int64_t bytes)>;

    explicit DiscTrackFiles(const QList<Track>& tracks);
    // The table's audio tracks ripped to their end into WAV or FLAC files;
    // none otherwise: an MP3 file does not hold the disc's audio.
    static std::optional<DiscTrackFiles> Of(const DiscToc& toc, const QList<TrackRipResult>& tracks);

    const QList<Track>& Tracks() const { return m_tracks; }
    int64_t Bytes() const { return m_starts.last(); }
    int64_t Samples() const { return Bytes() / 4; }
    // The disc's byte where the track at index (from 0) starts; Bytes() past the last.
    int64_t Start(int index) const { return m_starts.at(index); }

    // Reads the tracks at indexes first to last (−1: the last one) into feed.
    // Raises CalvenorError with a French text when a file cannot be read or
    // does not hold its track, HttpCancelled once cancel is set.
    void Read(const Feed& feed, const std::atomic<bool>* cancel = nullptr, int first = 0, int last = -1) const;

private:
    void readTrack(int index, const Feed& feed, const std::atomic<bool>* cancel) const;

    QList<Track> m_tracks;
    QList<int64_t> m_starts;
};
