#include "platform/ParanoiaRange.h"
#include "platform/CalvenorError.h"
#include "platform/DriveReadGuard.h"
#include <QtGlobal>
#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>
#include <cstdio>
#include <map>

namespace {
constexpr int SectorBytes = CDIO_CD_FRAMESIZE_RAW;
const int16_t Silence[SectorBytes / 2] = {};
// Skips at one position before paranoia is taken to go nowhere.
constexpr int SkipsWithoutProgress = 3;
// Fixups at one position in one read that tell audio that never settles.
constexpr int FixupsOfUnsettledAudio = 3;

void closeDrive(cdrom_drive_t* d)
{
    cdio_cddap_close_no_free_cdio(d);
}

void freeMessages(char* text)
{
    if (text)
        cdio_cddap_free_messages(text);
}
} // namespace

thread_local ParanoiaRange* ParanoiaRange::t_reading = nullptr;

ParanoiaRange::ParanoiaRange(const QString& source, int32_t first, int32_t last, bool jitterCorrection,
                             const std::atomic<bool>& stop, int testFlags, std::shared_ptr<IAudioReadFilter> filter)
    : m_disc(source), m_drive(nullptr, closeDrive), m_paranoia(nullptr, cdio_paranoia_free),
      m_first(first), m_last(last), m_cursor(first), m_plainUntil(first)
{
    char* identifyMessages = nullptr;
    m_drive.reset(cdio_cddap_identify_cdio(m_disc.Handle(), CDDA_MESSAGE_LOGIT, &identifyMessages));
    freeMessages(identifyMessages);
    if (!m_drive || cdio_cddap_open(m_drive.get()) != 0)
        throw CalvenorError(QStringLiteral("Impossible de lire l'audio du disque de « %1 ».").arg(source));
    // Logged, not printed: the guard drains them as it reads.
    cdio_cddap_verbose_set(m_drive.get(), CDDA_MESSAGE_LOGIT, CDDA_MESSAGE_LOGIT);
    // Paranoia guesses the byte order from the audio and can guess wrong on
    // noise-like audio; CD audio comes little-endian.
    m_drive->bigendianp = 0;
    m_drive->i_test_flags = testFlags;

    // An enhanced CD's audio session ends 11400 sectors before its data
    // track: the table of contents counts them in the last audio track,
    // paranoia does not, and neither does AccurateRip. What audio there is
    // gets read.
    const lsn_t audioEnd = cdio_cddap_disc_lastsector(m_drive.get());
    if (m_drive->cd_extra > 0 && first <= audioEnd && last > audioEnd)
        m_last = last = audioEnd;
    if (first < 0 || first > last || first < cdio_cddap_disc_firstsector(m_drive.get()) || last > audioEnd)
        throw CalvenorError(QStringLiteral("Les secteurs %1 à %2 ne sont pas de l'audio sur le disque de « %3 ».")
                                .arg(first).arg(last).arg(source));

    m_guard = std::make_unique<DriveReadGuard>(m_drive.get(), std::move(filter), stop);
    // Never-skip mode would retry a bad sector forever.
    m_paranoiaMode = jitterCorrection ? PARANOIA_MODE_FULL & ~PARANOIA_MODE_NEVERSKIP : PARANOIA_MODE_DISABLE;
    startParanoia();
}

ParanoiaRange::~ParanoiaRange() = default;

// A fresh paranoia at the cursor: after a tripped read its cache holds the
// silence it was fed.
void ParanoiaRange::startParanoia()
{
    m_paranoia.reset(cdio_paranoia_init(m_drive.get()));
    if (!m_paranoia)
        throw CalvenorError(QStringLiteral("Impossible de lire l'audio du disque de « %1 ».").arg(m_disc.Source()));
    cdio_paranoia_modeset(m_paranoia.get(), m_paranoiaMode);
    cdio_paranoia_seek(m_paranoia.get(), m_cursor, SEEK_SET);
    m_paranoiaStale = false;
}

const int16_t* ParanoiaRange::ReadNextSector()
{
    if (m_cursor < m_plainUntil)
        return readPlainly();
    if (m_paranoiaStale)
        startParanoia();
    return readThroughParanoia();
}

const int16_t* ParanoiaRange::readThroughParanoia()
{
    m_guard->Arm();
    m_events.clear();
    m_lastSkip = -1;
    m_skipRepeats = 0;
    // Paranoia's callback carries no user data: it reaches this range
    // through t_reading, set for the time of the read only.
    t_reading = this;
    const int16_t* data = cdio_paranoia_read_limited(
        m_paranoia.get(), [](long position, paranoia_cb_mode_t mode) { onParanoiaEvent(position, mode); },
        MaxRetries);
    t_reading = nullptr;

    switch (m_guard->Tripped()) {
    case DriveReadGuard::Trip::None:
        commitEvents();
        if (!data) {
            noteLost(m_cursor);
            data = Silence;
        }
        return deliver(data);
    case DriveReadGuard::Trip::Stop:
        m_paranoiaStale = true;
        return nullptr;
    case DriveReadGuard::Trip::ReadFailed:
    case DriveReadGuard::Trip::NoProgress:
        break;
    }
    // What paranoia answered is not to be trusted, nor even read: after a
    // failed first sector its pointer can lie past its own buffer.
    m_paranoiaStale = true;
    m_plainUntil = qBound(m_cursor + 1, m_guard->FailedReadEnd(), m_last + 1);
    return readPlainly();
}

const int16_t* ParanoiaRange::readPlainly()
{
    switch (m_guard->ReadSector(m_cursor, m_plain)) {
    case DriveReadGuard::SectorRead::Stopped:
        return nullptr;
    case DriveReadGuard::SectorRead::Lost:
        noteLost(m_cursor);
        break;
    case DriveReadGuard::SectorRead::Exact:
        break;
    }
    return deliver(reinterpret_cast<const int16_t*>(m_plain.data()));
}

const int16_t* ParanoiaRange::deliver(const int16_t* data)
{
    ++m_cursor;
    return data;
}

void ParanoiaRange::onParanoiaEvent(long position, int mode)
{
    ParanoiaRange* range = t_reading;
    if (!range || range->m_guard->Tripped() != DriveReadGuard::Trip::None)
        return;
    // Paranoia reports positions in 16-bit samples from sector 0.
    const int64_t byteOnDisc = static_cast<int64_t>(position) * 2;

    switch (mode) {
    case PARANOIA_CB_SKIP:
        range->onSkip(byteOnDisc);
        break;
    case PARANOIA_CB_READERR:
        // The guard answers every read, so this means a read went wrong
        // below it all the same.
        range->m_guard->TripNoProgress(range->m_cursor);
        break;
    case PARANOIA_CB_FIXUP_EDGE:
    case PARANOIA_CB_FIXUP_ATOM:
    case PARANOIA_CB_FIXUP_DROPPED:
    case PARANOIA_CB_FIXUP_DUPED:
    case PARANOIA_CB_DRIFT:
        range->m_events.push_back({byteOnDisc, false});
        break;
    default:
        break;
    }
}

void ParanoiaRange::onSkip(int64_t byteOnDisc)
{
    const bool beforeRange = byteOnDisc < int64_t(m_first) * SectorBytes;
    m_skipRepeats = byteOnDisc == m_lastSkip ? m_skipRepeats + 1 : 1;
    m_lastSkip = byteOnDisc;
    if (beforeRange || m_skipRepeats >= SkipsWithoutProgress) {
        m_guard->TripNoProgress(m_cursor);
        return;
    }
    m_events.push_back({byteOnDisc, true});
}

void ParanoiaRange::commitEvents()
{
    std::map<int64_t, int> fixupsAt;
    for (const Event& e : m_events) {
        if (e.gaveUp) {
            noteGiveUp(e.byteOnDisc);
            continue;
        }
        ++m_jitterCorrections;
        ++fixupsAt[e.byteOnDisc];
        noteJitterError(e.byteOnDisc);
    }
    noteUnsettledFixups(fixupsAt);
    m_events.clear();
}

// Jitter is fixed once where it happens. Fixed again and again at one place,
// the audio there never read the same twice: paranoia only picked one of the
// reads, so what lies between such places is counted lost.
void ParanoiaRange::noteUnsettledFixups(const std::map<int64_t, int>& fixupsAt)
{
    int64_t from = -1, to = -1;
    for (const auto& [byteOnDisc, count] : fixupsAt) {
        if (count < FixupsOfUnsettledAudio)
            continue;
        if (from < 0)
            from = byteOnDisc;
        to = byteOnDisc;
    }
    if (from < 0)
        return;
    markLost(static_cast<int32_t>(qMax<int64_t>(0, from - 1) / SectorBytes), static_cast<int32_t>(to / SectorBytes));
}

// Sectors first..last, as far as they lie in the range.
void ParanoiaRange::markLost(int32_t first, int32_t last)
{
    for (int32_t s = qMax(first, m_first); s <= qMin(last, m_last); ++s)
        m_unread.insert(s);
}

// Paranoia gives up at the end of what it verified and puts a sector of
// unverified data or silence there: every sector that touches it is lost,
// and so is everything from there to the sector it hands out.
void ParanoiaRange::noteGiveUp(int64_t byteOnDisc)
{
    const auto first = static_cast<int32_t>(byteOnDisc / SectorBytes);
    auto last = static_cast<int32_t>((byteOnDisc + SectorBytes - 1) / SectorBytes);
    if (first <= m_cursor)
        last = qMax(last, m_cursor);
    markLost(first, last);
    noteJitterError(byteOnDisc);
}

void ParanoiaRange::noteLost(int32_t sector)
{
    m_unread.insert(sector);
    noteJitterError(int64_t(sector) * SectorBytes);
}

void ParanoiaRange::noteJitterError(int64_t byteOnDisc)
{
    ++m_jitterErrors;
    const int64_t rangeBytes = static_cast<int64_t>(SectorCount()) * SectorBytes;
    const auto offset = static_cast<uint32_t>(qBound<int64_t>(0, byteOnDisc - int64_t(m_first) * SectorBytes, rangeBytes));
    if (!m_span.any) {
        m_span = {true, offset, offset};
        return;
    }
    m_span.first = qMin(m_span.first, offset);
    m_span.last = qMax(m_span.last, offset);
}

ParanoiaRange::Span ParanoiaRange::TakeEventSpan()
{
    const Span span = m_span;
    m_span = Span{};
    return span;
}
