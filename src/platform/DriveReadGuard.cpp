#include "platform/DriveReadGuard.h"
#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cstring>
#include <map>
#include <mutex>

namespace {
constexpr long SectorBytes = CDIO_CD_FRAMESIZE_RAW;
// Paranoia reads a sector a few dozen times at most before it skips; far
// more reads in one call means it runs in circles.
constexpr int MaxReadsPerParanoiaRead = 2000;

// The read function has no user data: the guard of a drive is found here.
std::mutex guardsLock;
std::map<cdrom_drive_t*, DriveReadGuard*>& guards()
{
    static std::map<cdrom_drive_t*, DriveReadGuard*> all;
    return all;
}

DriveReadGuard* guardOf(cdrom_drive_t* drive)
{
    const std::lock_guard<std::mutex> lock(guardsLock);
    const auto it = guards().find(drive);
    return it == guards().end() ? nullptr : it->second;
}

void freeMessages(char* text)
{
    if (text)
        cdio_cddap_free_messages(text);
}
} // namespace

DriveReadGuard::DriveReadGuard(cdrom_drive_s* drive, std::shared_ptr<IAudioReadFilter> filter,
                               const std::atomic<bool>& stop)
    : m_drive(drive), m_driveRead(drive->read_audio), m_filter(std::move(filter)), m_stop(stop),
      m_other(SectorBytes)
{
    const std::lock_guard<std::mutex> lock(guardsLock);
    guards()[drive] = this;
    drive->read_audio = guardedRead;
    drainMessages(); // what opening the drive said
}

DriveReadGuard::~DriveReadGuard()
{
    const std::lock_guard<std::mutex> lock(guardsLock);
    m_drive->read_audio = m_driveRead;
    guards().erase(m_drive);
}

void DriveReadGuard::Arm()
{
    m_trip = Trip::None;
    m_failedEnd = 0;
    m_readsSinceArmed = 0;
}

void DriveReadGuard::TripNoProgress(int32_t sector)
{
    trip(Trip::NoProgress, sector + 1);
}

void DriveReadGuard::trip(Trip why, int32_t failedEnd)
{
    if (m_trip != Trip::None)
        return;
    m_trip = why;
    m_failedEnd = failedEnd;
}

long DriveReadGuard::guardedRead(cdrom_drive_s* drive, void* buffer, int32_t first, long count)
{
    DriveReadGuard* guard = guardOf(drive);
    return guard ? guard->paranoiaRead(buffer, first, count) : -1;
}

long DriveReadGuard::paranoiaRead(void* buffer, int32_t first, long count)
{
    if (count <= 0)
        return 0;
    // Paranoia reads into nothing to push the drive's cache out: no audio
    // comes of it, so whatever happens is no loss.
    if (!buffer) {
        if (m_trip == Trip::None)
            readBelow(nullptr, first, count);
        return count;
    }
    if (stopAsked())
        trip(Trip::Stop, first);
    if (++m_readsSinceArmed > MaxReadsPerParanoiaRead)
        trip(Trip::NoProgress, first + 1);
    if (m_trip == Trip::None) {
        const long read = readBelow(buffer, first, count);
        if (read == count)
            return read;
        trip(Trip::ReadFailed, first + static_cast<int32_t>(count));
    }
    // Silence agrees with itself, so paranoia settles and returns.
    std::memset(buffer, 0, static_cast<size_t>(count * SectorBytes));
    return count;
}

long DriveReadGuard::readBelow(void* buffer, int32_t first, long count)
{
    long read = 0;
    if (m_filter)
        read = m_filter->ReadAudio(buffer, first, count, [this](void* b, int32_t f, long c) {
            return m_driveRead(m_drive, b, f, c);
        });
    else
        read = m_driveRead(m_drive, buffer, first, count);
    // With CDDA_MESSAGE_LOGIT the drive's messages pile up until taken, and a
    // failing drive says a lot.
    drainMessages();
    return read;
}

DriveReadGuard::SectorRead DriveReadGuard::ReadSector(int32_t sector, std::vector<uint8_t>& data)
{
    data.assign(SectorBytes, 0);
    bool haveOne = false;
    for (int i = 0; i < MaxSectorReads; ++i) {
        if (stopAsked())
            return SectorRead::Stopped;
        std::vector<uint8_t>& target = haveOne ? m_other : data;
        if (readBelow(target.data(), sector, 1) != 1)
            continue;
        if (haveOne && m_other == data)
            return SectorRead::Exact;
        if (haveOne)
            data.swap(m_other); // keep the latest, compare the next with it
        haveOne = true;
    }
    if (!haveOne)
        data.assign(SectorBytes, 0);
    return SectorRead::Lost;
}

void DriveReadGuard::drainMessages()
{
    freeMessages(cdio_cddap_messages(m_drive));
    freeMessages(cdio_cddap_errors(m_drive));
}
