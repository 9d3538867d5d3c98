#include "rip/AccurateRipDiscId.h"
#include <algorithm>

namespace {
QString hex8(uint32_t v)
{
    return QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0'));
}
} // namespace

AccurateRipDiscId::AccurateRipDiscId(const QList<TrackEntry>& tracks, uint32_t cddbId) : m_cddbId(cddbId)
{
    uint32_t leadOut = 0;
    for (const TrackEntry& e : tracks) {
        leadOut = std::max(leadOut, static_cast<uint32_t>(e.Track.LastSector + 1));
        if (e.Track.Kind != QLatin1String("Audio"))
            continue;
        m_audioTracks << e.Track.TrackNum;
        const auto offset = static_cast<uint32_t>(e.Track.FirstSector);
        m_offsetsAdded += offset;
        // A track at sector 0 counts as 1, so that it still weighs in.
        m_offsetsMultiplied += std::max<uint32_t>(offset, 1) * static_cast<uint32_t>(m_audioTracks.size());
    }
    m_offsetsAdded += leadOut;
    m_offsetsMultiplied += leadOut * static_cast<uint32_t>(m_audioTracks.size() + 1);
}

QString AccurateRipDiscId::FileName() const
{
    return QStringLiteral("dBAR-%1-%2-%3-%4.bin")
        .arg(AudioTrackCount(), 3, 10, QLatin1Char('0'))
        .arg(hex8(m_offsetsAdded), hex8(m_offsetsMultiplied), hex8(m_cddbId));
}

QString AccurateRipDiscId::DatabasePath() const
{
    const QString added = hex8(m_offsetsAdded);
    return QStringLiteral("%1/%2/%3/").arg(added.at(7)).arg(added.at(6)).arg(added.at(5)) + FileName();
}

int AccurateRipDiscId::AudioIndex(int trackNum) const
{
    return static_cast<int>(m_audioTracks.indexOf(trackNum)) + 1;
}
