#include "disc/AccurateRipDiscId.h"
#include "disc/DiscToc.h"
#include <algorithm>

namespace {
QString hex8(uint32_t v)
{
    return QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0'));
}
} // namespace

AccurateRipDiscId::AccurateRipDiscId(const DiscToc& toc) : m_cddbId(toc.CddbId())
{
    int place = 0;
    for (const TocTrack& track : toc.Tracks()) {
        ++place;
        if (!track.audio)
            continue;
        m_slots.insert(track.number, place);
        ++m_audioTracks;
        const auto offset = static_cast<uint32_t>(track.start);
        m_offsetsAdded += offset;
        // A track at sector 0 counts as 1, so that it still weighs in.
        m_offsetsMultiplied += std::max<uint32_t>(offset, 1) * static_cast<uint32_t>(m_audioTracks);
    }
    const auto leadOut = static_cast<uint32_t>(toc.LeadOut());
    m_offsetsAdded += leadOut;
    m_offsetsMultiplied += leadOut * static_cast<uint32_t>(m_audioTracks + 1);
}

QString AccurateRipDiscId::Text() const
{
    return QStringLiteral("%1-%2-%3-%4")
        .arg(m_audioTracks, 3, 10, QLatin1Char('0'))
        .arg(hex8(m_offsetsAdded), hex8(m_offsetsMultiplied), hex8(m_cddbId));
}

QString AccurateRipDiscId::FileName() const
{
    return QStringLiteral("dBAR-") + Text() + QStringLiteral(".bin");
}

QString AccurateRipDiscId::DatabasePath() const
{
    const QString added = hex8(m_offsetsAdded);
    return QStringLiteral("%1/%2/%3/").arg(added.at(7)).arg(added.at(6)).arg(added.at(5)) + FileName();
}
