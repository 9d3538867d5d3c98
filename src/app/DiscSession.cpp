#include "app/DiscSession.h"
#include "cddb/AlbumRelease.h"
#include "cddb/DiscLookup.h"
#include "disc/AlbumSheet.h"
#include "disc/DiscToc.h"
#include "platform/CalvenorError.h"
#include "platform/IDrives.h"
#include "platform/Settings.h"
#include "rip/TCDRIP.h"

DiscSession::DiscSession(const PlatformServices& services)
    : m_services(services), m_sheet(std::make_unique<AlbumSheet>()), m_toc(std::make_unique<DiscToc>()),
      m_ripper(TCDRIP::CreateEmpty(*services.cdRip))
{
    ReadNameTemplate();
}

bool DiscSession::ReadNameTemplate()
{
    const QString text = m_services.settings ? m_services.settings->FileNameTemplate() : NameTemplate::DefaultText;
    if (text == m_sheet->Names().Text())
        return false;
    m_sheet->SetNames(NameTemplate(text));
    return true;
}

DiscSession::~DiscSession() = default;

int DiscSession::Read(QChar letter, int drive, int listed)
{
    replaceRipper();
    m_ripper->SetCDRomNum(drive);
    const QList<AlbumTrack> tracks = m_ripper->AlbumTracks();
    m_sheet->Reset(tracks.mid(0, listed));
    readToc(letter);
    // Until a lookup replaces them, the disc's own names; the window gives the targets.
    if (m_toc->HasCdText())
        DiscLookup::Apply(AlbumRelease::FromCdText(*m_toc).WithoutControlChars(), *m_sheet, QString(), QString());
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
        *m_toc = DiscToc::ReadDrive(*m_services.drives, *m_services.cdAudio, letter, DiscToc::Subchannel::Later);
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
        *m_toc = DiscToc::ReadDrive(*m_services.drives, *m_services.cdAudio, letter, DiscToc::Subchannel::Later);
    return *m_toc;
}
