#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

class RipReport;

// The rip log: a UTF-8 text file beside the ripped files that tells how the
// disc was read and what each track's audio is worth.
class RipLog {
public:
    struct Header {
        QDateTime Date;
        QString Source;       // the drive's device or the disc image
        int32_t ReadOffset = 0;
        QString ParanoiaMode;
        int Passes = 1; // reads of each track, at most
        QString Drive = QString(); // DriveIdentity::LogText; no line when empty
        QString CueSheet = QString(); // written by the run; empty: none
        QString Cover = QString(); // where the cover came from (RipCover::LogText); no line when empty
        QString DiscId = QString(); // RipCueSheet::DiscId; no line when empty
    };
    // The start of the header's line that gives the disc's id.
    static const QString DiscIdStart; // "Identifiant CDDB du disque : "
    // The start of the line that gives the disc's table as the CUETools
    // database's lookup takes it (RipReport::DiscTable).
    static const QString DiscTableStart; // "Table du disque (CTDB) : "

    // Named like the playlist, with this in place of "PlayList.M3u".
    static const QString Ending; // "Rapport.log"
    // The log of a lone track: its file's name with " - Rapport.log" in place of its extension.
    static QString FileBeside(const QString& trackFile);

    static QString Text(const Header& header, const RipReport& report);
    // An earlier log's runs followed by the latest run's text; the earlier
    // tracks whose file is among files (written anew since) are taken out,
    // with their run's summary counted again, and a run left with none goes.
    static QString Merge(const QString& earlier, const QString& latest, const QStringList& files);
    // Under a lock on the folder, merged with the log the file holds by now
    // (another run may have written it); written aside and renamed: a failed
    // save never leaves half a log.
    static void Save(const QString& path, const Header& header, const RipReport& report);
    // What a later repair of the rip (calvenor-rip --repair) found and
    // changed: its date, the cue sheet read, a block for each track mended
    // with its new sums, then the verdicts.
    static QString RepairText(const QDateTime& date, const QString& cueSheet, const RipReport& report);
    // Added at the end of the log at path, under the same lock as Save: the
    // rip's own sections stay as they were.
    static void Append(const QString& path, const QString& section);
};
