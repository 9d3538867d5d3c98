#include "disc/IndexPointFinder.h"
#include "platform/IQSubchannel.h"
#include <algorithm>

namespace {
// Gaps of pressed discs are mostly two seconds: looked at first.
constexpr int32_t UsualGap = 2 * 75;
// Sectors on either side of one whose frame fails that are read instead.
constexpr int32_t Neighbours = 2;
constexpr int LastIndex = 99;
} // namespace

void IndexPointFinder::Fill(QList<TocTrack>& tracks, int32_t leadOut)
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
    for (qsizetype k = 0; k < tracks.size() && m_heard; ++k) {
        const TocTrack& track = tracks.at(k);
        if (!track.audio)
            continue;
        const QList<int32_t> indexes = FindIndexes(track.number, track.start, IndexesEnd(tracks, k, leadOut));
        if (!indexes.isEmpty())
            tracks[k].indexes = indexes;
    }
}

int32_t IndexPointFinder::IndexesEnd(const QList<TocTrack>& tracks, qsizetype k, int32_t leadOut)
{
    if (k + 1 >= tracks.size())
        return leadOut;
    const TocTrack& next = tracks.at(k + 1);
    return next.pregap >= 0 ? next.pregap : next.start;
}

// The likeliest boundaries first (none, two seconds), then halving.
std::optional<int32_t> IndexPointFinder::Find(int number, int32_t previousStart, int32_t start)
{
    if (start - previousStart < 2)
        return std::nullopt;
    const int32_t floor = std::max(previousStart + 1, start - WindowSectors);
    const Target gap{number, 0};
    std::optional<int32_t> first = search(gap, {floor, start}, {start - 1, start - UsualGap, start - UsualGap - 1});
    if (first && *first == floor && floor > previousStart + 1)
        first = search(gap, {previousStart + 1, floor}, {floor - 1});
    if (!first)
        return std::nullopt;
    return *first == start ? -1 : *first;
}

// The track's last sector tells whether a further index follows.
QList<int32_t> IndexPointFinder::FindIndexes(int number, int32_t start, int32_t end)
{
    QList<int32_t> indexes;
    int32_t from = start + 1;
    for (int index = 2; index <= LastIndex && from < end; ++index) {
        const std::optional<int32_t> at = search({number, index}, {from, end}, {end - 1});
        if (!at || *at == end)
            break;
        indexes << *at;
        from = *at + 1;
    }
    return indexes;
}

// A guess that reads nothing is passed over, unless the drive has given no
// frame yet: one that gives none is not asked again and again. When the few
// sectors left between a sector before the target and one after it give no
// frame of their own, the first known to be after it is taken.
std::optional<int32_t> IndexPointFinder::search(Target target, Bounds bounds, std::initializer_list<int32_t> guesses)
{
    const Bounds whole = bounds;
    for (const int32_t guess : guesses)
        if (guess >= bounds.lo && guess < bounds.hi && !narrow(target, guess, bounds) && !m_heard)
            return std::nullopt;
    while (bounds.lo < bounds.hi)
        if (!narrow(target, bounds.lo + (bounds.hi - bounds.lo) / 2, bounds)) {
            const bool cornered = bounds.lo > whole.lo || bounds.hi < whole.hi;
            return cornered && bounds.hi - bounds.lo <= 2 * Neighbours + 1 ? std::optional<int32_t>(bounds.hi)
                                                                            : std::nullopt;
        }
    return bounds.lo;
}

bool IndexPointFinder::narrow(Target target, int32_t at, Bounds& bounds)
{
    const Probe p = probe(target, at, bounds);
    if (p.side == Side::After)
        bounds.hi = p.sector;
    else if (p.side == Side::Before)
        bounds.lo = p.sector + 1;
    return p.side != Side::Unknown;
}

IndexPointFinder::Probe IndexPointFinder::probe(Target target, int32_t at, const Bounds& bounds)
{
    if (const Probe p = read(target, at, bounds); p.side != Side::Unknown)
        return p;
    for (int32_t d = 1; d <= Neighbours; ++d)
        for (const int32_t sector : {at + d, at - d})
            if (sector >= bounds.lo && sector < bounds.hi)
                if (const Probe p = read(target, sector, bounds); p.side != Side::Unknown)
                    return p;
    return {at, Side::Unknown};
}

// A frame tells of the sector whose address it carries, which may not be the
// one asked for; one outside the bounds tells nothing new.
IndexPointFinder::Probe IndexPointFinder::read(Target target, int32_t sector, const Bounds& bounds)
{
    const std::optional<QPosition> q = m_q.Read(sector);
    m_heard = m_heard || q.has_value();
    if (!q || q->sector < bounds.lo || q->sector >= bounds.hi)
        return {sector, Side::Unknown};
    const bool before = q->track < target.track || (q->track == target.track && q->index < target.index);
    return {q->sector, before ? Side::Before : Side::After};
}
