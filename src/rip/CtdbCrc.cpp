#include "rip/CtdbCrc.h"
#include "disc/DiscToc.h"
#include "rip/TrackRipResult.h"
#include <algorithm>

CtdbCrc::CtdbCrc(int64_t trackBytes, bool firstTrack, bool lastTrack)
    : m_from(firstTrack ? EdgeBytes : 0), m_until(lastTrack ? trackBytes - EdgeBytes : trackBytes)
{
}

void CtdbCrc::Add(const uint8_t* pcm, int64_t bytes)
{
    const int64_t from = std::max(m_from, m_position);
    const int64_t until = std::min(m_until, m_position + bytes);
    if (until > from) {
        m_crc.Add(pcm + (from - m_position), until - from);
        m_counted += until - from;
    }
    m_position += bytes;
}

std::optional<uint32_t> CtdbCrc::Disc(const DiscToc& toc, const QList<TrackRipResult>& tracks)
{
    const QList<TocTrack> audio = toc.AudioTracks();
    if (audio.isEmpty())
        return std::nullopt;
    uint32_t crc = 0;
    for (const TocTrack& disc : audio) {
        const auto ripped = std::find_if(tracks.begin(), tracks.end(),
                                         [&disc](const TrackRipResult& t) { return t.TrackNum == disc.number; });
        if (ripped == tracks.end() || !ripped->ReadWhole() || ripped->Interrupted || !ripped->HasChecksums)
            return std::nullopt;
        crc = Crc32::Combine(crc, ripped->CtdbCrc, ripped->CtdbLength);
    }
    return crc;
}
