#include "platform/ParanoiaRange.h"
#include "platform/CalvenorError.h"
#include <QtGlobal>
#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>
#include <cstdio>

namespace {
constexpr int SectorBytes = CDIO_CD_FRAMESIZE_RAW;
const int16_t Silence[SectorBytes / 2] = {};

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

ParanoiaRange* ParanoiaRange::s_reading = nullptr;

ParanoiaRange::ParanoiaRange(const QString& source, int32_t first, int32_t last, bool jitterCorrection, int testFlags)
    : m_disc(source), m_drive(nullptr, closeDrive), m_paranoia(nullptr, cdio_paranoia_free),
      m_first(first), m_last(last), m_cursor(first)
{
    char* identifyMessages = nullptr;
    m_drive.reset(cdio_cddap_identify_cdio(m_disc.Handle(), CDDA_MESSAGE_LOGIT, &identifyMessages));
    freeMessages(identifyMessages);
    if (!m_drive || cdio_cddap_open(m_drive.get()) != 0)
        throw CalvenorError(QStringLiteral("Impossible de lire l'audio du disque de « %1 ».").arg(source));
    cdio_cddap_verbose_set(m_drive.get(), CDDA_MESSAGE_LOGIT, CDDA_MESSAGE_LOGIT);
    drainMessages();
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

    m_paranoia.reset(cdio_paranoia_init(m_drive.get()));
    if (!m_paranoia)
        throw CalvenorError(QStringLiteral("Impossible de lire l'audio du disque de « %1 ».").arg(source));
    // Never-skip mode would retry a bad sector forever.
    cdio_paranoia_modeset(m_paranoia.get(), jitterCorrection ? PARANOIA_MODE_FULL & ~PARANOIA_MODE_NEVERSKIP
                                                             : PARANOIA_MODE_DISABLE);
    cdio_paranoia_seek(m_paranoia.get(), first, SEEK_SET);
}

ParanoiaRange::~ParanoiaRange() = default;

const int16_t* ParanoiaRange::ReadNextSector()
{
    // Paranoia's callback carries no user data: it reaches this range
    // through s_reading, set for the time of the read only.
    s_reading = this;
    const int16_t* data = cdio_paranoia_read_limited(
        m_paranoia.get(), [](long position, paranoia_cb_mode_t mode) { onParanoiaEvent(position, mode); },
        MaxRetries);
    s_reading = nullptr;
    drainMessages();
    if (!data) {
        noteUnread(static_cast<int64_t>(m_cursor) * SectorBytes);
        data = Silence;
    }
    ++m_cursor;
    return data;
}

void ParanoiaRange::onParanoiaEvent(long position, int mode)
{
    if (!s_reading)
        return;
    // Paranoia reports positions in 16-bit samples from sector 0.
    const int64_t byteOnDisc = static_cast<int64_t>(position) * 2;
    switch (mode) {
    case PARANOIA_CB_SKIP:
        s_reading->noteUnread(byteOnDisc);
        break;
    case PARANOIA_CB_FIXUP_EDGE:
    case PARANOIA_CB_FIXUP_ATOM:
    case PARANOIA_CB_FIXUP_DROPPED:
    case PARANOIA_CB_FIXUP_DUPED:
    case PARANOIA_CB_DRIFT:
        ++s_reading->m_jitterCorrections;
        s_reading->noteJitterError(byteOnDisc);
        break;
    default:
        break;
    }
}

void ParanoiaRange::noteUnread(int64_t byteOnDisc)
{
    m_unread.insert(qBound(m_first, static_cast<int32_t>(byteOnDisc / SectorBytes), m_last));
    noteJitterError(byteOnDisc);
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

// With CDDA_MESSAGE_LOGIT the messages pile up in the drive until taken.
void ParanoiaRange::drainMessages()
{
    freeMessages(cdio_cddap_messages(m_drive.get()));
    freeMessages(cdio_cddap_errors(m_drive.get()));
}
