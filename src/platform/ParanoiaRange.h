#pragma once
#include "platform/CdioDisc.h"
#include "platform/IAudioReadFilter.h"
#include <QString>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

class DriveReadGuard;
struct cdrom_drive_s;
struct cdrom_paranoia_s;

// A jitter-corrected read of the sectors first..last (both included) of a CD
// source, sector by sector, through libcdio-paranoia. Paranoia retries a bad
// sector a bounded number of times and then skips it; where the drive fails,
// paranoia is left out (see DriveReadGuard) and the span is read sector by
// sector, so a damaged disc never blocks the read.
//
// Events counted per range:
// - a jitter fixup is a fixup paranoia reports (edge, atom, dropped or
//   duplicated bytes, drift);
// - a lost sector is one whose audio did not come from a read that can be
//   trusted: paranoia gave up on it (the whole sector its give-up covers),
//   or two reads of it never agreed. It is delivered as read, or as silence
//   when nothing was read, listed once by its disc address, and counts as a
//   jitter error too, so it shows in the jitter log.
// Positions are byte offsets of CD audio (44100 Hz stereo, 2352 bytes a
// sector) from the start of the range, clamped to the range.
class ParanoiaRange {
public:
    // Reads of a bad sector before paranoia gives up on it.
    static constexpr int MaxRetries = 20;

    struct Span {
        bool any = false;
        uint32_t first = 0;
        uint32_t last = 0;
    };

    // Raises CalvenorError with a French text when the source can't be read
    // as audio or the range lies outside the disc's audio. testFlags are
    // libcdio-paranoia's simulated read faults (0 for none); filter, when
    // given, stands between paranoia and the drive. stop, raised from any
    // thread, ends the sector being read.
    ParanoiaRange(const QString& source, int32_t first, int32_t last, bool jitterCorrection,
                  const std::atomic<bool>& stop, int testFlags = 0, std::shared_ptr<IAudioReadFilter> filter = {});
    ~ParanoiaRange();
    ParanoiaRange(const ParanoiaRange&) = delete;
    ParanoiaRange& operator=(const ParanoiaRange&) = delete;

    int32_t SectorCount() const { return m_last - m_first + 1; }
    int32_t SectorsRead() const { return m_cursor - m_first; }
    bool AtEnd() const { return m_cursor > m_last; }

    // The next sector's 1176 samples in host order, left and right
    // interleaved; nullptr when a stop came first (the sector is not read).
    const int16_t* ReadNextSector();
    // Where jitter errors happened since the last call.
    Span TakeEventSpan();
    int32_t JitterErrors() const { return m_jitterErrors; }
    int32_t UnreadableSectors() const { return static_cast<int32_t>(m_unread.size()); }
    std::vector<int32_t> UnreadSectors() const { return {m_unread.begin(), m_unread.end()}; }
    int32_t JitterCorrections() const { return m_jitterCorrections; }

private:
    // What paranoia said during one read, kept until the read is trusted.
    struct Event {
        int64_t byteOnDisc;
        bool gaveUp;
    };

    void startParanoia();
    const int16_t* readThroughParanoia();
    const int16_t* readPlainly();
    const int16_t* deliver(const int16_t* data);
    static void onParanoiaEvent(long position, int mode);
    void onSkip(int64_t byteOnDisc);
    void commitEvents();
    void noteUnsettledFixups(const std::map<int64_t, int>& fixupsAt);
    void noteGiveUp(int64_t byteOnDisc);
    void noteLost(int32_t sector);
    void markLost(int32_t first, int32_t last);
    void noteJitterError(int64_t byteOnDisc);

    static thread_local ParanoiaRange* t_reading;

    CdioDisc m_disc;
    std::unique_ptr<cdrom_drive_s, void (*)(cdrom_drive_s*)> m_drive;
    std::unique_ptr<DriveReadGuard> m_guard;
    std::unique_ptr<cdrom_paranoia_s, void (*)(cdrom_paranoia_s*)> m_paranoia;
    int m_paranoiaMode = 0;
    int32_t m_first;
    int32_t m_last;
    int32_t m_cursor;
    int32_t m_plainUntil; // sectors before it, from the cursor on, are read plainly
    bool m_paranoiaStale = false;
    std::vector<uint8_t> m_plain;
    std::vector<Event> m_events;
    int64_t m_lastSkip = -1;
    int m_skipRepeats = 0;
    int32_t m_jitterErrors = 0;
    int32_t m_jitterCorrections = 0;
    std::set<int32_t> m_unread;
    Span m_span;
};
