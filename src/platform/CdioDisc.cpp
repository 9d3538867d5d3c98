#include "platform/CdioDisc.h"
#include "platform/CalvenorError.h"
#include "platform/CdSourceKind.h"
#include "platform/CdioLog.h"
#include "platform/CueSheet.h"
#include "platform/CueSheetCopy.h"
#include "platform/CueSheetLayout.h"
#include "platform/NeroImage.h"
#include "platform/RecordingCode.h"
#include <QFile>
#include <QStringDecoder>
#include <memory>
#include <cdio/cdio.h>
#include <cdio/cdtext.h>

namespace {
constexpr uint8_t LeadOutTrackNumber = 0xAA;

// Only the driver the source's kind names: libcdio's probe of every driver
// runs the Nero parser on any file and reads past what it checked.
driver_id_t driverFor(const QString& source)
{
    switch (CdSourceKind::Of(source)) {
    case CdSourceKind::Device:
        return DRIVER_DEVICE;
    case CdSourceKind::CueImage:
        return DRIVER_BINCUE;
    case CdSourceKind::TocImage:
        return DRIVER_CDRDAO;
    case CdSourceKind::NrgImage:
        if (const QString damage = NeroImage::Damage(source); !damage.isEmpty())
            throw CalvenorError(damage);
        return DRIVER_NRG;
    case CdSourceKind::Unknown:
        break;
    }
    throw CalvenorError(CdSourceKind::RefusalText(source));
}

// libcdio's strings are the caller's to free.
QString takeString(char* text)
{
    const std::unique_ptr<char, void (*)(void*)> owned(text, cdio_free);
    return text ? QString::fromLatin1(text).trimmed() : QString();
}

// libcdio gives CD-Text in UTF-8, but reads a cue sheet's as Latin-1: a
// sheet written in UTF-8 comes back encoded twice, and is decoded once more.
QString cdTextString(const char* utf8)
{
    const QString text = QString::fromUtf8(utf8).trimmed();
    const QByteArray bytes = text.toLatin1();
    if (QString::fromLatin1(bytes) != text || QString::fromLatin1(bytes) == QString::fromUtf8(bytes))
        return text;
    // Stateless: an incomplete last sequence is an error, not kept for a
    // next call; a Latin-1 "Café" ends in one.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString twice = decoder.decode(bytes);
    return decoder.hasError() ? text : twice;
}

// From the block libcdio selects first, the disc's default language; track
// 0 is the album.
CdTextNames cdTextNames(const cdtext_t* text, track_t track)
{
    CdTextNames names;
    if (!text)
        return names;
    names.title = cdTextString(cdtext_get_const(text, CDTEXT_FIELD_TITLE, track));
    names.performer = cdTextString(cdtext_get_const(text, CDTEXT_FIELD_PERFORMER, track));
    return names;
}
} // namespace

CdioDisc::CdioDisc(const QString& source)
    : m_source(source), m_cdio(nullptr, cdio_destroy)
{
    CdioLog::Silence();
    const driver_id_t driver = driverFor(source);
    QString opened = source;
    if (driver == DRIVER_BINCUE)
        opened = sheetCopy();
    m_cdio.reset(cdio_open(QFile::encodeName(opened).constData(), driver));
    if (!m_cdio)
        throw CalvenorError(openFailure(source));
}

CdioDisc::~CdioDisc() = default;

// libcdio is given a copy numbered from 01: the disc's numbers come back
// in the table.
QString CdioDisc::sheetCopy()
{
    const CueSheetLayout layout(m_source);
    if (!layout.Fault().isEmpty())
        throw CalvenorError(layout.Fault());
    m_warnings = layout.Warnings();
    m_firstTrack = layout.FirstTrack();
    m_sheetCopy = std::make_unique<CueSheetCopy>(m_source, layout);
    return m_sheetCopy->Path();
}

int CdioDisc::discNumber(int libcdioNumber) const
{
    return m_sheetCopy ? libcdioNumber + m_firstTrack - 1 : libcdioNumber;
}

QString CdioDisc::openFailure(const QString& source)
{
    const QString missingBin = CueSheet::MissingBinText(source);
    if (!missingBin.isEmpty())
        return missingBin;
    return QStringLiteral("Impossible d'ouvrir « %1 » : ce n'est ni un lecteur de CD ni une image de "
                          "disque lisible (.cue avec son .bin, .toc, .nrg).")
        .arg(source);
}

uint32_t CdioDisc::startSector(uint8_t track) const
{
    const lsn_t lsn = cdio_get_track_lsn(m_cdio.get(), track);
    if (lsn == CDIO_INVALID_LSN || lsn < 0)
        throw CalvenorError(QStringLiteral("Table des matières illisible sur le disque de « %1 ».").arg(m_source));
    return static_cast<uint32_t>(lsn);
}

// Every audio track gets exactly the audio flags, whatever its copy and
// pre-emphasis bits: a burned disc's tracks must not pass for data.
std::vector<TTocEntry> CdioDisc::Toc() const
{
    const track_t first = cdio_get_first_track_num(m_cdio.get());
    const track_t count = cdio_get_num_tracks(m_cdio.get());
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0)
        throw CalvenorError(QStringLiteral("Aucune piste lisible sur le disque de « %1 ».").arg(m_source));

    std::vector<TTocEntry> toc;
    for (track_t i = 0; i < count; ++i) {
        const track_t track = static_cast<track_t>(first + i);
        TTocEntry e;
        e.dwStartSector = startSector(track);
        e.btFlag = cdio_get_track_format(m_cdio.get(), track) == TRACK_FORMAT_AUDIO ? TOC_FLAG_AUDIO : TOC_FLAG_DATA;
        e.btTrackNumber = static_cast<uint8_t>(discNumber(track));
        toc.push_back(e);
    }
    TTocEntry leadOut;
    leadOut.dwStartSector = startSector(CDIO_CDROM_LEADOUT_TRACK);
    leadOut.btFlag = toc.back().btFlag;
    leadOut.btTrackNumber = LeadOutTrackNumber;
    toc.push_back(leadOut);
    // An image cut short ends before tracks its sheet still lists: such a
    // table of contents would give tracks that end before they begin.
    for (size_t i = 1; i < toc.size(); ++i)
        if (toc[i].dwStartSector <= toc[i - 1].dwStartSector)
            throw CalvenorError(QStringLiteral("La table des matières du disque de « %1 » est incohérente : "
                                               "l'image est peut-être tronquée.")
                                    .arg(m_source));
    return toc;
}

// Tracks from the last session's first sector on belong to a second session; a
// source that cannot tell (an image) has one.
CdTocRecord CdioDisc::Record(DiscCodes codes) const
{
    const std::vector<TTocEntry> toc = Toc();
    lsn_t lastSession = 0;
    if (cdio_get_last_session(m_cdio.get(), &lastSession) != DRIVER_OP_SUCCESS)
        lastSession = 0;
    // Owned by the CdIo object; a drive's is read from the disc's lead-in
    // through the same call.
    const cdtext_t* text = cdio_get_cdtext(m_cdio.get());
    // libcdio keeps no index point past 01: a cue sheet's are read from it.
    QMap<int, QList<int32_t>> indexes;
    if (CdSourceKind::Of(m_source) == CdSourceKind::CueImage)
        indexes = CueSheet::Indexes(m_source);
    CdTocRecord record;
    const track_t first = cdio_get_first_track_num(m_cdio.get());
    for (size_t i = 0; i + 1 < toc.size(); ++i) {
        const auto track = static_cast<track_t>(first + i);
        record.tracks << trackRecord(track, lastSession, codes);
        record.tracks.last().text = cdTextNames(text, track);
        record.tracks.last().indexes = indexes.value(toc[i].btTrackNumber);
    }
    record.leadOut = static_cast<int32_t>(toc.back().dwStartSector);
    if (codes == DiscCodes::Read)
        record.mcn = RecordingCode::Mcn(takeString(cdio_get_mcn(m_cdio.get())));
    record.text = cdTextNames(text, 0);
    record.warnings = m_warnings;
    return record;
}

CdTrackRecord CdioDisc::trackRecord(uint8_t number, int32_t lastSessionStart, DiscCodes codes) const
{
    CdIo_t* cdio = m_cdio.get();
    CdTrackRecord track;
    track.number = discNumber(number);
    track.start = static_cast<int32_t>(startSector(number));
    track.audio = cdio_get_track_format(cdio, number) == TRACK_FORMAT_AUDIO;
    track.session = lastSessionStart > 0 && track.start >= lastSessionStart ? 2 : 1;
    const lsn_t pregap = cdio_get_track_pregap_lsn(cdio, number);
    if (pregap != CDIO_INVALID_LSN && pregap >= 0 && pregap < track.start)
        track.pregap = pregap;
    track.preEmphasis = cdio_get_track_preemphasis(cdio, number) == CDIO_TRACK_FLAG_TRUE;
    track.copyPermitted = cdio_get_track_copy_permit(cdio, number) == CDIO_TRACK_FLAG_TRUE;
    if (codes == DiscCodes::Read)
        track.isrc = RecordingCode::Isrc(takeString(cdio_get_track_isrc(cdio, number)));
    return track;
}
