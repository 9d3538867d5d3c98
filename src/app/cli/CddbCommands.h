#pragma once
#include "cddb/DiscLookup.h"
#include <QChar>
#include <QString>
#include <QTextStream>

class IDrives;
class Settings;

// The metadata commands of calvenor-rip: lookups of the disc in CDDB or
// MusicBrainz, or its own CD-Text, for printing or for tagging a rip. A server or an address
// not given comes from the settings.
class CddbCommands {
public:
    // One source to ask. `server` empty: the saved one, else the client's
    // own default. `release`: which of several albums, from 1.
    struct Query {
        DiscLookup::Source source = DiscLookup::Source::Cddb;
        QString server;
        QString email;
        int release = 1;
    };

    CddbCommands(IDrives& drives, const Settings& settings, QTextStream& err);

    // The album chosen among the matches, whose lines all go to the error
    // stream; raises with the server's answer when there is none.
    AlbumRelease Find(QChar letter, const Query& query);
    // The album as the disc's CD-Text names it; raises when it has none.
    AlbumRelease CdText(QChar letter) const;
    // artist=, album=, category= for a CDDB record, and one title= line per
    // track.
    static void Print(const AlbumRelease& album, QTextStream& out);

private:
    // The address given, else the saved one; raises when there is none
    // valid, but for MusicBrainz, which goes without one.
    QString contact(const QString& email, DiscLookup::Source source) const;
    DiscLookup::Options options(const Query& query) const;
    // One name=value line, the value made safe for a terminal.
    static void printField(QTextStream& out, const char* name, const QString& value);

    IDrives& m_drives;
    const Settings& m_settings;
    QTextStream& m_err;
};
