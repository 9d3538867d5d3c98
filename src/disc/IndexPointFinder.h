#pragma once
#include "disc/DiscToc.h"
#include <QList>
#include <initializer_list>
#include <optional>

class IQSubchannel;

// Where a drive's index points lie, from the Q sub-channel: a track's pre-gap
// (INDEX 00) begins at the first sector before its INDEX 01 whose frame says
// "this track, index 00", INDEX 02 and up at the first whose frame gives that
// index. Positions only grow along the disc, so each point is found by a
// binary search, a dozen reads or so, not a scan.
class IndexPointFinder {
public:
    // Most pre-gaps are two seconds or less; a longer one is searched for in
    // the rest of the previous track.
    static constexpr int32_t WindowSectors = 30 * 75;

    explicit IndexPointFinder(IQSubchannel& q) : m_q(q) {}

    // Where the index points of tracks[k] must end: at the next track's
    // pre-gap or INDEX 01, or at the lead-out.
    static int32_t IndexesEnd(const QList<TocTrack>& tracks, qsizetype k, int32_t leadOut);

    // Sets the pre-gap of each audio track that follows an audio track of its
    // session (-1 when it has none), then the INDEX 02 and up of each audio
    // track. A track whose Q frames cannot be read keeps what it had; a drive
    // that has given no frame at all by then is taken to give none, and the
    // rest keep theirs too.
    void Fill(QList<TocTrack>& tracks, int32_t leadOut);
    // INDEX 00 of track number, which starts at start after a track that
    // starts at previousStart; -1 when it has no pre-gap, nothing when the Q
    // frames do not tell.
    std::optional<int32_t> Find(int number, int32_t previousStart, int32_t start);
    // INDEX 02, 03, ... of a track, from its INDEX 01 at start up to end
    // (the next pre-gap or track, or the lead-out): one read when it has none.
    QList<int32_t> FindIndexes(int number, int32_t start, int32_t end);

private:
    // A position on the disc as Q frames give it.
    struct Target {
        int track;
        int index;
    };
    enum class Side { Before, After, Unknown };
    struct Probe {
        int32_t sector;
        Side side;
    };
    // The first sector at or after the target lies in [lo, hi]: hi when none
    // in [lo, hi) is.
    struct Bounds {
        int32_t lo;
        int32_t hi;
    };

    // The first sector in [lo, hi) at or after the target, hi when there is
    // none; the guesses are read first.
    std::optional<int32_t> search(Target target, Bounds bounds, std::initializer_list<int32_t> guesses);
    // Narrows the bounds with what the Q frames say near at; false when they
    // say nothing there.
    bool narrow(Target target, int32_t at, Bounds& bounds);
    // What the frame read at tells, or the nearest sector's in [lo, hi)
    // when it tells nothing (unreadable, failing its check, out of bounds).
    Probe probe(Target target, int32_t at, const Bounds& bounds);
    Probe read(Target target, int32_t sector, const Bounds& bounds);

    IQSubchannel& m_q;
    bool m_heard = false; // a frame was read
};
