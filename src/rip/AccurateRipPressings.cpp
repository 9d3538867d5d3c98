#include "rip/AccurateRipPressings.h"
#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <tuple>

namespace {
constexpr int SampleBytes = 4;
} // namespace

// One track's v2 sum at one shift: the disc's samples from start + shift,
// silence beyond the disc's audio.
struct AccurateRipPressings::WholeSum {
    int Track;
    int Shift;
    int64_t From;
    int64_t To;
    int64_t Next;
    AccurateRipChecksums Sums;

    WholeSum(int track, int shift, const AccurateRipPressings::Track& t)
        : Track(track), Shift(shift), From(t.Start + shift), To(t.Start + shift + t.Samples), Next(From),
          Sums(t.First, t.Last)
    {
    }
    void Silence(int64_t until)
    {
        static const std::vector<uint8_t> zeros(SampleBytes * 4096, 0);
        for (; Next < until; Next += std::min<int64_t>(until - Next, 4096))
            Sums.Add(zeros.data(), SampleBytes * std::min<int64_t>(until - Next, 4096));
    }
    void Add(int64_t at, const uint32_t* samples, int64_t count)
    {
        const int64_t from = std::max(at, Next);
        const int64_t to = std::min(at + count, To);
        if (from >= to)
            return;
        Silence(from);
        Sums.Add(reinterpret_cast<const uint8_t*>(samples + (from - at)), SampleBytes * (to - from));
        Next = to;
    }
};

AccurateRipPressings::AccurateRipPressings(const QList<AccurateRipResponse>& responses,
                                           const AccurateRipDiscId& disc, const QList<Track>& tracks, int range)
    : m_disc(disc), m_tracks(tracks), m_best(static_cast<size_t>(tracks.size()))
{
    for (const AccurateRipResponse& r : responses)
        if (r.IsFor(disc))
            m_responses << r;
    for (const Track& t : tracks)
        m_shifts.emplace_back(t.Start, t.Samples, t.First, t.Last, range);
}

AccurateRipPressings::~AccurateRipPressings() = default;

void AccurateRipPressings::Add(int64_t at, const uint32_t* samples, int64_t count)
{
    for (AccurateRipShifts& s : m_shifts)
        s.Add(at, samples, count);
}

std::pair<int64_t, int64_t> AccurateRipPressings::Slide()
{
    std::vector<Candidates> candidates;
    for (int k = 0; k < m_tracks.size(); ++k)
        candidates.push_back(slideTrack(k));
    pickWholeSums(candidates);
    if (m_wholeSums.empty())
        return {0, 0};
    int64_t from = m_wholeSums.front()->From, to = m_wholeSums.front()->To;
    for (const auto& w : m_wholeSums) {
        from = std::min(from, w->From);
        to = std::max(to, w->To);
    }
    return {std::max<int64_t>(from, 0), to};
}

AccurateRipPressings::Candidates AccurateRipPressings::slideTrack(int track)
{
    const int slot = m_tracks.at(track).Slot;
    Candidates candidates;
    m_shifts[track].Visit([&](int shift, const AccurateRipSlide& sums) {
        if (shift == 0)
            return;
        AccurateRipVerdict match = AccurateRipVerdict::OfV1(m_responses, m_disc, slot, sums.V1());
        match.Shift = shift;
        if (match.Beats(m_best[track]))
            m_best[track] = match;
        for (int r = 0; r < m_responses.size(); ++r)
            if (slot <= m_responses.at(r).Tracks.size() && sums.MayBeV2(m_responses.at(r).Tracks.at(slot - 1).Crc))
                candidates.emplace_back(r, shift);
    });
    return candidates;
}

// A response's shift that several tracks may match is the pressing's more
// likely than one only a track may: the most shared come first, then the
// nearest. A shift where a track's v1 sum matched is tried for the others.
void AccurateRipPressings::pickWholeSums(const std::vector<Candidates>& candidates)
{
    std::map<std::pair<int, int>, int> shared;
    for (const Candidates& track : candidates)
        for (const auto& c : track)
            ++shared[c];
    std::set<int> matched;
    for (const AccurateRipVerdict& v : m_best)
        if (v.Result == AccurateRipVerdict::Exact)
            matched.insert(v.Shift);
    const int searched = static_cast<int>(m_tracks.size());
    const int least = searched >= 4 ? 3 : searched >= 2 ? 2 : 1;
    struct Pick {
        int shared;
        int track;
        int shift;
        bool operator<(const Pick& o) const
        {
            return std::tuple(-shared, std::abs(shift), track) < std::tuple(-o.shared, std::abs(o.shift), o.track);
        }
    };
    std::vector<Pick> picks;
    for (int k = 0; k < searched; ++k) {
        if (m_best[k].Result == AccurateRipVerdict::Exact)
            continue;
        std::set<int> tried;
        for (const auto& c : candidates[k])
            if ((shared[c] >= least || matched.count(c.second)) && tried.insert(c.second).second)
                picks.push_back(Pick{shared[c], k, c.second});
    }
    std::sort(picks.begin(), picks.end());
    for (size_t i = 0; i < picks.size() && i < size_t{MaxWholeSums}; ++i)
        m_wholeSums.push_back(std::make_unique<WholeSum>(picks[i].track, picks[i].shift, m_tracks.at(picks[i].track)));
}

void AccurateRipPressings::AddWhole(int64_t at, const uint32_t* samples, int64_t count)
{
    for (const auto& w : m_wholeSums)
        w->Add(at, samples, count);
}

AccurateRipVerdict AccurateRipPressings::Match(int track)
{
    for (const auto& w : m_wholeSums) {
        if (w->Track != track)
            continue;
        w->Silence(w->To);
        AccurateRipVerdict match =
            AccurateRipVerdict::Of(m_responses, m_disc, m_tracks.at(track).Slot, w->Sums.V1(), w->Sums.V2());
        match.Shift = w->Shift;
        if (match.Beats(m_best[track]))
            m_best[track] = match;
    }
    const AccurateRipVerdict best = m_best[track];
    return best.Result == AccurateRipVerdict::Exact ? best : AccurateRipVerdict{};
}
