#pragma once
#include "disc/AccurateRipDiscId.h"
#include "rip/AccurateRipChecksums.h"
#include "rip/AccurateRipResponse.h"
#include "rip/AccurateRipShifts.h"
#include "rip/AccurateRipVerdict.h"
#include <QList>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// The matches of a disc's tracks with the AccurateRip sums of other
// pressings, the disc's audio shifted by up to ±range samples. Each track's
// v1 sum slides over every shift from one pass over the disc's audio
// (AccurateRipShifts). The v2 sum does not slide: a second pass sums it
// whole at the few shifts the v1 sums leave possible, those that several
// tracks share for one response first, for a pressing shifts every track
// alike.
class AccurateRipPressings {
public:
    // A track of the disc: its database slot and where its audio lies, in samples.
    struct Track {
        int Slot = 0;
        int64_t Start = 0;
        int64_t Samples = 0;
        bool First = false;
        bool Last = false;
    };
    // Shifts summed whole in the second pass, at most.
    static constexpr int MaxWholeSums = 64;

    AccurateRipPressings(const QList<AccurateRipResponse>& responses, const AccurateRipDiscId& disc,
                         const QList<Track>& tracks, int range);
    ~AccurateRipPressings();

    // The first pass: the disc's audio in order, count samples from its sample at.
    void Add(int64_t at, const uint32_t* samples, int64_t count);
    // After it: slides the v1 sums and picks the shifts for the v2 sums.
    // Returns the disc's samples the second pass is to read; empty (from ==
    // to) when none is needed.
    std::pair<int64_t, int64_t> Slide();
    // The second pass over those samples, in order.
    void AddWhole(int64_t at, const uint32_t* samples, int64_t count);
    // The best match of the track (index in the list given) at a shift
    // other than 0; NotChecked when there is none. After the passes.
    AccurateRipVerdict Match(int track);

private:
    struct WholeSum;
    // The shifts at which the track's v2 sum may match a response, by response.
    using Candidates = std::vector<std::pair<int, int>>; // (response, shift)
    Candidates slideTrack(int track);
    void pickWholeSums(const std::vector<Candidates>& candidates);

    QList<AccurateRipResponse> m_responses;
    AccurateRipDiscId m_disc;
    QList<Track> m_tracks;
    std::vector<AccurateRipShifts> m_shifts;
    std::vector<AccurateRipVerdict> m_best;
    std::vector<std::unique_ptr<WholeSum>> m_wholeSums;
};
