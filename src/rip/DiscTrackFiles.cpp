#include "rip/DiscTrackFiles.h"
#include "disc/DiscToc.h"
#include "platform/CalvenorError.h"
#include "platform/HttpCancelled.h"
#include "rip/CtdbWindow.h"
#include "rip/RipReport.h"
#include "rip/TrackAudioFile.h"
#include "rip/TrackRipResult.h"
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {
constexpr int64_t SampleBytes = 4;
// Audio decoded ahead of its use, at most.
constexpr int64_t AheadBytes = 16 << 20;

// The pieces a reading thread decodes ahead while the caller's thread takes
// them in turn; the first failure of either side ends both.
class PiecesAhead {
public:
    struct Piece {
        int64_t at = 0;
        std::vector<uint8_t> pcm;
    };

    // What ends the reading once the taker has given up.
    struct GivenUp {};

    void Put(int64_t at, const uint8_t* pcm, int64_t bytes)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_givenUp || m_held < AheadBytes; });
        if (m_givenUp)
            throw GivenUp{};
        m_pieces.push_back(Piece{at, std::vector<uint8_t>(pcm, pcm + bytes)});
        m_held += bytes;
        m_changed.notify_all();
    }
    void Close(std::exception_ptr error)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_closed = true;
        m_error = error;
        m_changed.notify_all();
    }
    // The next piece; false at the end, the reader's failure raised.
    bool Take(Piece& piece)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_closed || !m_pieces.empty(); });
        if (m_pieces.empty()) {
            if (m_error)
                std::rethrow_exception(m_error);
            return false;
        }
        piece = std::move(m_pieces.front());
        m_pieces.pop_front();
        m_held -= static_cast<int64_t>(piece.pcm.size());
        m_changed.notify_all();
        return true;
    }
    void GiveUp()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_givenUp = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Piece> m_pieces;
    int64_t m_held = 0;
    bool m_closed = false;
    bool m_givenUp = false;
    std::exception_ptr m_error;
};

// Stops the reading thread and waits for it, however the taking ends.
struct ReaderJoin {
    PiecesAhead& pieces;
    std::thread& reader;
    ~ReaderJoin()
    {
        pieces.GiveUp();
        reader.join();
    }
};

[[noreturn]] void notTheTrack(const QString& path, int64_t held, int64_t expected)
{
    throw CalvenorError(QStringLiteral("Le fichier « %1 » ne contient pas la piste telle qu'elle a été rippée : %2 "
                                       "octets d'audio au lieu de %3.")
                            .arg(path)
                            .arg(held)
                            .arg(expected));
}
} // namespace

DiscTrackFiles::DiscTrackFiles(const QList<Track>& tracks) : m_tracks(tracks)
{
    int64_t at = 0;
    for (const Track& t : m_tracks) {
        m_starts << at;
        at += t.Bytes;
    }
    m_starts << at;
}

std::optional<DiscTrackFiles> DiscTrackFiles::Of(const DiscToc& toc, const QList<TrackRipResult>& tracks)
{
    QList<Track> files;
    for (const TocTrack& disc : toc.AudioTracks()) {
        const auto found = std::find_if(tracks.begin(), tracks.end(),
                                        [&disc](const TrackRipResult& t) { return t.TrackNum == disc.number; });
        if (found == tracks.end() || !RipReport::RippedToEnd(*found) || !TrackAudioFile::Lossless(found->Path))
            return std::nullopt;
        files << Track{disc.number, found->Path, int64_t{found->SectorCount()} * CtdbWindow::SectorBytes};
    }
    if (files.isEmpty())
        return std::nullopt;
    return DiscTrackFiles(files);
}

// Decoding a FLAC file costs about as much as what the caller does with its
// audio: a thread of its own decodes ahead.
void DiscTrackFiles::Read(const Feed& feed, const std::atomic<bool>* cancel, int first, int last) const
{
    const int end = last < 0 ? static_cast<int>(m_tracks.size()) - 1 : last;
    PiecesAhead pieces;
    std::thread reader([&] {
        std::exception_ptr error;
        try {
            for (int k = first; k <= end; ++k)
                readTrack(k, [&](int64_t at, const uint8_t* pcm, int64_t bytes) { pieces.Put(at, pcm, bytes); }, cancel);
        } catch (const PiecesAhead::GivenUp&) {
        } catch (...) {
            error = std::current_exception();
        }
        pieces.Close(error);
    });
    const ReaderJoin join{pieces, reader};
    for (PiecesAhead::Piece piece; pieces.Take(piece);)
        feed(piece.at, piece.pcm.data(), static_cast<int64_t>(piece.pcm.size()));
}

void DiscTrackFiles::readTrack(int index, const Feed& feed, const std::atomic<bool>* cancel) const
{
    const Track& track = m_tracks.at(index);
    TrackAudioFile file(track.Path);
    if (file.Bytes() != track.Bytes)
        notTheTrack(track.Path, file.Bytes(), track.Bytes);
    std::vector<uint8_t> pcm, piece;
    int64_t done = 0;
    while (file.Read(pcm)) {
        if (cancel && *cancel)
            throw HttpCancelled();
        // Whole samples only: a sample split between two reads waits for the next.
        piece.insert(piece.end(), pcm.begin(), pcm.end());
        const auto bytes = static_cast<int64_t>(piece.size()) / SampleBytes * SampleBytes;
        if (done + bytes > track.Bytes)
            notTheTrack(track.Path, done + bytes, track.Bytes);
        feed(Start(index) + done, piece.data(), bytes);
        piece.erase(piece.begin(), piece.begin() + bytes);
        done += bytes;
    }
    if (done != track.Bytes || !piece.empty())
        notTheTrack(track.Path, done + static_cast<int64_t>(piece.size()), track.Bytes);
}
