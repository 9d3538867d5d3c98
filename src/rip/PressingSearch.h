#pragma once
#include "disc/AccurateRipDiscId.h"
#include "rip/AccurateRipResponse.h"
#include "rip/AccurateRipVerdict.h"
#include "rip/CtdbDatabase.h"
#include "rip/CtdbShiftedCrc.h"
#include "rip/CtdbVerdict.h"
#include <QList>
#include <atomic>
#include <optional>
#include <vector>

class AccurateRipPressings;
class DiscTrackFiles;

// Looks for a rip's audio in other pressings of its disc, shifted by up to
// ±Range samples, where a database knows the disc but not the rip at shift
// 0: the AccurateRip sums of the tracks asked about (AccurateRipPressings)
// and the CUETools database's CRC of the disc (CtdbShiftedCrc), from the
// files ripped, read once, and read again only for the AccurateRip v2 sums
// that cannot slide.
class PressingSearch {
public:
    static constexpr int Range = CtdbShiftedCrc::Range;

    explicit PressingSearch(const DiscTrackFiles& files, const std::atomic<bool>* cancel = nullptr);

    // The tracks at these indexes among the files, against AccurateRip's responses for the disc.
    void AskAccurateRip(const QList<AccurateRipResponse>& responses, const AccurateRipDiscId& disc,
                        const QList<int>& tracks);
    // The disc against the CUETools database's entries.
    void AskCtdb(const QList<CtdbDatabase::Entry>& entries) { m_entries = entries; }

    // Reads the files and finds the best match of each; raises
    // CalvenorError when a file cannot be read, HttpCancelled once cancel is set.
    void Run();
    // The track's best match at a shift other than 0; NotChecked when none.
    AccurateRipVerdict Track(int index) const;
    // The disc's best match at a shift other than 0; NotChecked when none.
    const CtdbVerdict& Disc() const { return m_disc; }

private:
    void readSecondPass(AccurateRipPressings& pressings, int64_t from, int64_t to);
    void matchCtdb(const std::vector<uint32_t>& crcs);

    const DiscTrackFiles& m_files;
    const std::atomic<bool>* m_cancel;
    QList<AccurateRipResponse> m_responses;
    std::optional<AccurateRipDiscId> m_accurateRipDisc;
    QList<int> m_tracks;
    QList<CtdbDatabase::Entry> m_entries;
    std::vector<AccurateRipVerdict> m_matches; // by index among the files
    CtdbVerdict m_disc;
};
