#pragma once
#include "platform/CdioDisc.h"
#include <QString>
#include <cstdint>
#include <memory>
#include <set>
#include <vector>

struct cdrom_drive_s;
struct cdrom_paranoia_s;

// A jitter-corrected read of the sectors first..last (both included) of a CD
// source, sector by sector, through libcdio-paranoia. Paranoia retries a bad
// sector a bounded number of times and then skips it, so a damaged disc
// never blocks the read.
//
// Events counted per range:
// - a jitter fixup is a fixup paranoia reports (edge, atom, dropped or
//   duplicated bytes, drift);
// - an unreadable sector is one paranoia gave up on (skip) or returned
//   nothing for; it is delivered as paranoia delivers it (silence when it
//   delivers nothing), listed once by its disc address, and counts as a
//   jitter error too, so it shows in the jitter log.
// Positions are byte offsets of CD audio (44100 Hz stereo, 2352 bytes a
// sector) from the start of the range, as paranoia reports them, clamped
// to the range.
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
    // libcdio-paranoia's simulated read faults (0 for none).
    ParanoiaRange(const QString& source, int32_t first, int32_t last, bool jitterCorrection, int testFlags = 0);
    ~ParanoiaRange();
    ParanoiaRange(const ParanoiaRange&) = delete;
    ParanoiaRange& operator=(const ParanoiaRange&) = delete;

    int32_t SectorCount() const { return m_last - m_first + 1; }
    int32_t SectorsRead() const { return m_cursor - m_first; }
    bool AtEnd() const { return m_cursor > m_last; }

    // The next sector's 1176 samples in host order, left and right interleaved.
    const int16_t* ReadNextSector();
    // Where jitter errors happened since the last call.
    Span TakeEventSpan();
    int32_t JitterErrors() const { return m_jitterErrors; }
    int32_t UnreadableSectors() const { return static_cast<int32_t>(m_unread.size()); }
    std::vector<int32_t> UnreadSectors() const { return {m_unread.begin(), m_unread.end()}; }
    int32_t JitterCorrections() const { return m_jitterCorrections; }

private:
    static void onParanoiaEvent(long position, int mode);
    void noteJitterError(int64_t byteOnDisc);
    void noteUnread(int64_t byteOnDisc);
    void drainMessages();

    static ParanoiaRange* s_reading;

    CdioDisc m_disc;
    std::unique_ptr<cdrom_drive_s, void (*)(cdrom_drive_s*)> m_drive;
    std::unique_ptr<cdrom_paranoia_s, void (*)(cdrom_paranoia_s*)> m_paranoia;
    int32_t m_first;
    int32_t m_last;
    int32_t m_cursor;
    int32_t m_jitterErrors = 0;
    int32_t m_jitterCorrections = 0;
    std::set<int32_t> m_unread;
    Span m_span;
};
