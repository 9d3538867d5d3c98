#include "rip/DiscTrackFiles.h"
#include "disc/DiscToc.h"
#include "platform/CalvenorError.h"
#include "platform/HttpCancelled.h"
#include "rip/CtdbWindow.h"
#include "rip/RipReport.h"
#include "rip/TrackAudioFile.h"
#include "rip/TrackRipResult.h"
#include <algorithm>
#include <vector>

namespace {
constexpr int64_t SampleBytes = 4;

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

void DiscTrackFiles::Read(const Feed& feed, const std::atomic<bool>* cancel, int first, int last) const
{
    const int end = last < 0 ? static_cast<int>(m_tracks.size()) - 1 : last;
    for (int k = first; k <= end; ++k)
        readTrack(k, feed, cancel);
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
