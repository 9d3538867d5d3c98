#pragma once
#include "platform/PlatformServices.h"
#include <QChar>
#include <QString>
#include <memory>

class AlbumSheet;
class DiscToc;
class TCDRIP;

// The disc a window lists: its ripper, its table of contents and its album
// sheet, replaced together when another disc is read. The table of contents
// is read once per disc and shared by the lookup, the tag editor and the rip.
class DiscSession {
public:
    // Until a disc is read the session holds a ripper without tracks.
    explicit DiscSession(const PlatformServices& services);
    ~DiscSession();

    AlbumSheet& Sheet() { return *m_sheet; }
    const DiscToc& Toc() const { return *m_toc; }
    TCDRIP& Ripper() { return *m_ripper; }

    // Reads the disc of the drive with this letter, entry `drive` of the
    // drive list: a new ripper, one unticked sheet track per audio track (at
    // most `listed`), and the table of contents (left empty when it can't be
    // read: a lookup then tells why); a disc that names itself in CD-Text
    // fills the sheet, marked as from CD-Text. Returns the disc's audio track count.
    // The ripper's failure raises, and leaves a ripper without tracks.
    int Read(QChar letter, int drive, int listed);
    // The sheet names its targets by the settings' template from now on;
    // true when that changed the template.
    bool ReadNameTemplate();
    // The disc left: no tracks, no table of contents.
    void Forget();
    // The table of contents, read again if the disc's first read gave none;
    // raises with a French text when it still can't be read.
    const DiscToc& RequireToc(QChar letter);

private:
    void replaceRipper();
    void readToc(QChar letter);

    PlatformServices m_services;
    std::unique_ptr<AlbumSheet> m_sheet;
    std::unique_ptr<DiscToc> m_toc;
    std::unique_ptr<TCDRIP> m_ripper;
};
