#pragma once
#include "disc/DiscToc.h"
#include "rip/AccurateRipResponse.h"
#include <QList>
#include <cstdint>
#include <optional>
#include <vector>

class AccurateRipDatabase;
class ICdRipLibrary;
struct RipVerification;

// Finds a drive's read offset: the first audio tracks are read once, with
// no offset and Range samples more on each side, and every offset within
// ±Range is tried against the AccurateRip database's checksums.
class ReadOffsetFinder {
public:
    static constexpr int Range = 3000;
    struct Found {
        int Offset = 0;     // in samples, to give TCDRIP::ReadOffset
        int Confidence = 0; // of the matching response
    };

    // library: its active drive holds the disc of that table of contents.
    ReadOffsetFinder(ICdRipLibrary& library, const DiscToc& toc);

    // Nothing when no offset matches; raises CalvenorError with a French
    // text when the database cannot be asked or does not know the disc, or
    // when a track cannot be read whole.
    std::optional<Found> Find(AccurateRipDatabase& database);
    // The same in the AccurateRip database the verification asks; raises
    // CalvenorError when it asks none (no network, turned off).
    std::optional<Found> Find(const RipVerification& verification);

    // The offset whose v1 or v2 sum of the track is in the responses at slot;
    // samples: the track read with Range samples more on each side.
    static std::optional<Found> Match(const std::vector<uint32_t>& samples, bool firstTrack, bool lastTrack,
                                      const QList<AccurateRipResponse>& responses, int slot);

private:
    std::vector<uint32_t> readWithMargins(const TocTrack& track);

    ICdRipLibrary& m_library;
    const DiscToc& m_toc;
};
