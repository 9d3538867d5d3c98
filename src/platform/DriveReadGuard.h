#pragma once
#include "platform/IAudioReadFilter.h"
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

struct cdrom_drive_s;

// Takes the place of a drive's read function under libcdio-paranoia while
// it lives. Paranoia copes with jitter but not with a drive that fails: it
// can skip in circles at the start of a range, read past its own buffer when
// the first sector of the disc fails, and hands out unverified stretches
// without a word. So a paranoia read is armed first, and the guard trips at
// the first failed or short read, at a stop request, or when told that
// paranoia makes no progress; from then on paranoia only gets silence, so it
// returns at once, and its answer must be thrown away. The owner then reads
// the span plainly, sector by sector (ReadSector).
class DriveReadGuard {
public:
    enum class Trip { None, ReadFailed, NoProgress, Stop };
    enum class SectorRead { Exact, Lost, Stopped };

    // Reads of one sector before it is given up; two that agree make it exact.
    static constexpr int MaxSectorReads = 6;

    // stop: raised from any thread to end a read under way.
    DriveReadGuard(cdrom_drive_s* drive, std::shared_ptr<IAudioReadFilter> filter, const std::atomic<bool>& stop);
    ~DriveReadGuard();
    DriveReadGuard(const DriveReadGuard&) = delete;
    DriveReadGuard& operator=(const DriveReadGuard&) = delete;

    // Before each paranoia read.
    void Arm();
    Trip Tripped() const { return m_trip; }
    // The sector after the failed read that tripped the guard.
    int32_t FailedReadEnd() const { return m_failedEnd; }
    // Paranoia goes nowhere: feed it silence until it returns.
    void TripNoProgress(int32_t sector);

    // One sector read without paranoia into `sector` (2352 bytes): exact
    // when two reads agree; lost otherwise, with the last data read or
    // silence; stopped when a stop came first.
    SectorRead ReadSector(int32_t sector, std::vector<uint8_t>& data);

private:
    static long guardedRead(cdrom_drive_s* drive, void* buffer, int32_t first, long count);
    long paranoiaRead(void* buffer, int32_t first, long count);
    long readBelow(void* buffer, int32_t first, long count);
    void trip(Trip why, int32_t failedEnd);
    bool stopAsked() const { return m_stop.load(std::memory_order_relaxed); }
    void drainMessages();

    cdrom_drive_s* m_drive;
    long (*m_driveRead)(cdrom_drive_s*, void*, int32_t, long);
    std::shared_ptr<IAudioReadFilter> m_filter;
    const std::atomic<bool>& m_stop;
    Trip m_trip = Trip::None;
    int32_t m_failedEnd = 0;
    int m_readsSinceArmed = 0;
    std::vector<uint8_t> m_other;
};
