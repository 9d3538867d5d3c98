#include "platform/CdioDisc.h"
#include "platform/CalvenorError.h"
#include "platform/CdioLog.h"
#include "platform/CueSheet.h"
#include <QFile>
#include <QFileInfo>
#include <cdio/cdio.h>

namespace {
constexpr uint8_t LeadOutTrackNumber = 0xAA;
} // namespace

CdioDisc::CdioDisc(const QString& source)
    : m_source(source), m_cdio(nullptr, cdio_destroy)
{
    CdioLog::Silence();
    m_cdio.reset(cdio_open(QFile::encodeName(source).constData(), DRIVER_UNKNOWN));
    if (!m_cdio)
        throw CalvenorError(openFailure(source));
}

QString CdioDisc::openFailure(const QString& source)
{
    if (CueSheet::IsCue(source) && QFileInfo::exists(source) && !QFileInfo::exists(CueSheet::BinBeside(source)))
        return QStringLiteral("Impossible d'ouvrir l'image « %1 » : le fichier « %2 » est introuvable. "
                              "Une feuille .cue est lue avec le fichier .bin de même nom placé à côté "
                              "d'elle ; sa ligne FILE n'est pas prise en compte.")
            .arg(source, CueSheet::BinBeside(source));
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
        e.btTrackNumber = track;
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
