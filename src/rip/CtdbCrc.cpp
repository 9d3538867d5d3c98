#include "rip/CtdbCrc.h"
#include "disc/DiscToc.h"
#include "rip/RipReport.h"
#include "rip/TrackRipResult.h"
#include <algorithm>
#include <numeric>

CtdbCrc::CtdbCrc(int64_t trackBytes, bool firstTrack, bool lastTrack)
    : m_from(firstTrack ? CtdbWindow::BytesBefore : 0), m_bytes(trackBytes), m_last(lastTrack),
      m_pending(StrideSectors - 1)
{
}

int64_t CtdbCrc::until(int remainder) const
{
    return m_last ? m_bytes - CtdbWindow::BytesAfter(remainder) : m_bytes;
}

void CtdbCrc::count(const uint8_t* pcm, int64_t from, int64_t to)
{
    const int64_t first = std::max(m_from, from);
    const int64_t last = std::min(until(0), to);
    if (last > first)
        m_crc.Add(pcm + (first - m_position), last - first);
}

// The ends lie in the order of the remainders, from the highest: each is
// taken as the read passes it.
void CtdbCrc::Add(const uint8_t* pcm, int64_t bytes)
{
    const int64_t end = m_position + bytes;
    int64_t at = m_position;
    for (; m_pending >= 0 && until(m_pending) <= end; --m_pending) {
        const int64_t mark = std::max(at, until(m_pending));
        count(pcm, at, mark);
        at = mark;
        m_values[static_cast<size_t>(m_pending)] = m_crc.Value();
    }
    count(pcm, at, end);
    m_position = end;
}

CtdbCrc::Values CtdbCrc::Value() const
{
    Values values = m_values;
    for (int remainder = 0; remainder <= m_pending; ++remainder)
        values[static_cast<size_t>(remainder)] = m_crc.Value();
    return values;
}

uint32_t CtdbCrc::Join(const QList<uint32_t>& trackCrcs, const QList<int32_t>& trackSectors)
{
    const int64_t discSectors = std::accumulate(trackSectors.begin(), trackSectors.end(), int64_t{0});
    const int64_t lastEdge = CtdbWindow::BytesAfter(static_cast<int>(discSectors % StrideSectors));
    uint32_t crc = 0;
    for (qsizetype k = 0; k < trackCrcs.size() && k < trackSectors.size(); ++k) {
        int64_t length = trackSectors.at(k) * SectorBytes;
        if (k == 0)
            length -= CtdbWindow::BytesBefore;
        if (k == trackSectors.size() - 1)
            length -= lastEdge;
        crc = Crc32::Combine(crc, trackCrcs.at(k), std::max<int64_t>(length, 0));
    }
    return crc;
}

std::optional<CtdbCrc::Sums> CtdbCrc::Of(const DiscToc& toc, const QList<TrackRipResult>& tracks)
{
    const QList<TocTrack> audio = toc.AudioTracks();
    if (audio.isEmpty())
        return std::nullopt;
    QList<const TrackRipResult*> ripped;
    QList<int32_t> sectors;
    for (const TocTrack& disc : audio) {
        const auto found = std::find_if(tracks.begin(), tracks.end(),
                                        [&disc](const TrackRipResult& t) { return t.TrackNum == disc.number; });
        if (found == tracks.end() || !RipReport::RippedToEnd(*found) || !found->HasChecksums)
            return std::nullopt;
        ripped << &*found;
        sectors << found->SectorCount();
    }
    const int64_t discSectors = std::accumulate(sectors.begin(), sectors.end(), int64_t{0});
    Sums sums;
    for (const TrackRipResult* t : ripped)
        sums.Tracks << t->CtdbCrcs.at(static_cast<size_t>(discSectors % StrideSectors));
    sums.Disc = Join(sums.Tracks, sectors);
    return sums;
}
