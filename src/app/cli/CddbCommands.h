#pragma once
#include "cddb/DiscLookup.h"
#include <QChar>
#include <QString>
#include <QTextStream>

class IDrives;
class Settings;

// The metadata commands of calvenor-rip: lookups that print what CDDB or
// MusicBrainz knows of the disc, or what its CD-Text says. A server or
// an address not given comes from the settings.
class CddbCommands {
public:
    CddbCommands(IDrives& drives, const Settings& settings, QTextStream& out, QTextStream& err);

    // artist=, album=, category= and one title= line per title. When several
    // discs match, the match lines go to the error stream and the first is
    // read. `server` empty: the saved one, else the client's own default.
    void Lookup(QChar letter, const QString& server, const QString& email);
    // artist=, album= and one title= line per track of the first release;
    // the choice line of every release goes to the error stream.
    void LookupMusicBrainz(QChar letter, const QString& server, const QString& email);
    // artist=, album= and one title= line per track, from the disc's own
    // CD-Text; raises when it has none.
    void PrintCdText(QChar letter);

private:
    // The album the lookup found, the first when there are several.
    const AlbumRelease& find(DiscLookup& lookup, const DiscToc& toc, const DiscLookup::Options& options,
                             const QString& unknown);
    // artist=, album=, category= when the source has one, then title=.
    void printAlbum(const AlbumRelease& release);
    // One name=value line, the value made safe for a terminal.
    void printField(const char* name, const QString& value);
    // The address given, else the saved one; raises when there is none valid.
    QString contact(const QString& email) const;

    IDrives& m_drives;
    const Settings& m_settings;
    QTextStream& m_out;
    QTextStream& m_err;
};
