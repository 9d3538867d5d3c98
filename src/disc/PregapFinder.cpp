#include "disc/PregapFinder.h"
#include "platform/IQSubchannel.h"
#include <algorithm>

namespace {
// Gaps of pressed discs are mostly two seconds: looked at first.
constexpr int32_t UsualGap = 2 * 75;
// Sectors on either side of one whose frame fails that are read instead.
constexpr int32_t Neighbours = 2;
} // namespace

void PregapFinder::Fill(QList<TocTrack>& tracks)
{
    for (qsizetype k = 1; k < tracks.size(); ++k) {
        const TocTrack& previous = tracks.at(k - 1);
        TocTrack& track = tracks[k];
        if (!track.audio || !previous.audio || track.session != previous.session
            || previous.number + 1 != track.number)
            continue;
        const std::optional<int32_t> pregap = Find(track.number, previous.start, track.start);
        if (!pregap && !m_heard)
            return;
        if (pregap)
            track.pregap = *pregap;
    }
}

// The likeliest boundaries first (none, two seconds), then halving.
std::optional<int32_t> PregapFinder::Find(int number, int32_t previousStart, int32_t start)
{
    if (start - previousStart < 2)
        return std::nullopt;
    const int32_t floor = std::max(previousStart + 1, start - WindowSectors);
    std::optional<int32_t> first = search(number, {floor, start});
    if (first && *first == floor && floor > previousStart + 1)
        first = search(number, {previousStart + 1, floor});
    if (!first)
        return std::nullopt;
    return *first == start ? -1 : *first;
}

// A guess that reads nothing is passed over, unless the drive has given no
// frame yet: one that gives none is not asked again and again. When the few
// sectors left between a sector before the gap and one in it give no frame
// of their own, the gap starts at the first sector known to be in it.
std::optional<int32_t> PregapFinder::search(int number, Bounds bounds)
{
    const int32_t floor = bounds.lo;
    const int32_t end = bounds.hi;
    for (const int32_t guess : {bounds.hi - 1, bounds.hi - UsualGap, bounds.hi - UsualGap - 1})
        if (guess >= bounds.lo && guess < bounds.hi && !narrow(number, guess, bounds) && !m_heard)
            return std::nullopt;
    while (bounds.lo < bounds.hi)
        if (!narrow(number, bounds.lo + (bounds.hi - bounds.lo) / 2, bounds)) {
            const bool cornered = bounds.lo > floor || bounds.hi < end;
            return cornered && bounds.hi - bounds.lo <= 2 * Neighbours + 1 ? std::optional<int32_t>(bounds.hi)
                                                                            : std::nullopt;
        }
    return bounds.lo;
}

bool PregapFinder::narrow(int number, int32_t at, Bounds& bounds)
{
    const Probe p = probe(number, at, bounds);
    if (p.side == Side::Gap)
        bounds.hi = p.sector;
    else if (p.side == Side::Before)
        bounds.lo = p.sector + 1;
    return p.side != Side::Unknown;
}

PregapFinder::Probe PregapFinder::probe(int number, int32_t at, const Bounds& bounds)
{
    if (const Probe p = read(number, at, bounds); p.side != Side::Unknown)
        return p;
    for (int32_t d = 1; d <= Neighbours; ++d)
        for (const int32_t sector : {at + d, at - d})
            if (sector >= bounds.lo && sector < bounds.hi)
                if (const Probe p = read(number, sector, bounds); p.side != Side::Unknown)
                    return p;
    return {at, Side::Unknown};
}

// A frame tells of the sector whose address it carries, which may not be the
// one asked for; one outside the bounds tells nothing new.
PregapFinder::Probe PregapFinder::read(int number, int32_t sector, const Bounds& bounds)
{
    const std::optional<QPosition> q = m_q.Read(sector);
    m_heard = m_heard || q.has_value();
    if (!q || q->sector < bounds.lo || q->sector >= bounds.hi)
        return {sector, Side::Unknown};
    if (q->track == number && q->index == 0)
        return {q->sector, Side::Gap};
    return {q->sector, q->track < number ? Side::Before : Side::Unknown};
}
