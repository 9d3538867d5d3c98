#pragma once
#include "disc/DiscToc.h"
#include <QList>
#include <optional>

class IQSubchannel;

// Where the pre-gaps of a drive's tracks begin, from the Q sub-channel: the
// first sector before a track's INDEX 01 whose frame says "this track, index
// 00". A binary search over the sectors before the start: a dozen reads a
// track, not a scan.
class PregapFinder {
public:
    // Most pre-gaps are two seconds or less; a longer one is searched for in
    // the rest of the previous track.
    static constexpr int32_t WindowSectors = 30 * 75;

    explicit PregapFinder(IQSubchannel& q) : m_q(q) {}

    // Sets the pre-gap of each audio track that follows an audio track of its
    // session (-1 when it has none). A track whose Q frames cannot be read
    // keeps what it had; a drive that has given no frame at all by then is
    // taken to give none, and the rest keep theirs too.
    void Fill(QList<TocTrack>& tracks);
    // INDEX 00 of track number, which starts at start after a track that
    // starts at previousStart; -1 when it has no pre-gap, nothing when the Q
    // frames do not tell.
    std::optional<int32_t> Find(int number, int32_t previousStart, int32_t start);

private:
    enum class Side { Before, Gap, Unknown };
    struct Probe {
        int32_t sector;
        Side side;
    };
    // The first gap sector lies in [lo, hi]: hi when it has none.
    struct Bounds {
        int32_t lo;
        int32_t hi;
    };

    // Narrows the bounds with what the Q frames say near at; false when they
    // say nothing there.
    bool narrow(int number, int32_t at, Bounds& bounds);
    // What the frame read at tells, or the nearest sector's in [lo, hi)
    // when it tells nothing (unreadable, failing its check, out of bounds).
    Probe probe(int number, int32_t at, const Bounds& bounds);
    Probe read(int number, int32_t sector, const Bounds& bounds);
    // The first gap sector in [lo, hi); hi when there is none.
    std::optional<int32_t> search(int number, Bounds bounds);

    IQSubchannel& m_q;
    bool m_heard = false; // a frame was read
};
