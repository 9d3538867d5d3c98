#include "app/DiscSession.h"
#include "disc/AlbumSheet.h"
#include "disc/DiscToc.h"
#include "platform/CalvenorError.h"
#include "platform/IDrives.h"
#include "rip/TCDRIP.h"
#include "rip/TrackRow.h"

DiscSession::DiscSession(const PlatformServices& services)
    : m_services(services), m_sheet(std::make_unique<AlbumSheet>()), m_toc(std::make_unique<DiscToc>()),
      m_ripper(TCDRIP::CreateEmpty(*services.cdRip))
{
}

DiscSession::~DiscSession() = default;

int DiscSession::Read(QChar letter, int drive, int listed)
{
    replaceRipper();
    m_ripper->SetCDRomNum(drive);
    const QList<TrackRow> tracks = TrackRow::FromTracks(m_ripper->Tracks, TrackRow::AllTracks);
    QList<AlbumTrack> sheet;
    for (const TrackRow& row : tracks.mid(0, listed))
        sheet << AlbumTrack{row.Label.mid(6).toInt(), {}, false};
    m_sheet->Reset(sheet);
    readToc(letter);
    return tracks.size();
}

void DiscSession::replaceRipper()
{
    m_ripper.reset();
    try {
        m_ripper = std::make_unique<TCDRIP>(*m_services.cdRip);
    } catch (...) {
        // Later commands expect a ripper: leave one without tracks.
        m_ripper.reset(TCDRIP::CreateEmpty(*m_services.cdRip));
        throw;
    }
}

void DiscSession::readToc(QChar letter)
{
    *m_toc = DiscToc();
    if (!m_services.cdAudio)
        return;
    try {
        *m_toc = DiscToc::Read(*m_services.cdAudio, m_services.drives->source(letter));
    } catch (const CalvenorError&) {
        // The track list stands; a lookup tells why the disc can't be named.
    }
}

void DiscSession::Forget()
{
    m_sheet->Clear();
    *m_toc = DiscToc();
}

const DiscToc& DiscSession::RequireToc(QChar letter)
{
    if (m_toc->IsEmpty())
        *m_toc = DiscToc::Read(*m_services.cdAudio, m_services.drives->source(letter));
    return *m_toc;
}
