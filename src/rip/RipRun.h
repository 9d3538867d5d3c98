#pragma once
#include "rip/Playlist.h"
#include "rip/RipLog.h"
#include "rip/RipReport.h"
#include "rip/RipVerification.h"
#include "rip/TTrack.h"
#include <QList>
#include <QString>
#include <functional>

class ITrackRows;
class TCDRIP;
class TMP3Info;

// One rip run over the ticked rows: rip each track to its row's target path,
// tag the file, list it in the folder's playlist and remove its jitter log;
// at the end, prove the tracks against AccurateRip and write the rip log
// beside the playlist. Shared by the ripping window and the command-line tool.
class RipRun {
public:
    RipRun(ITrackRows& rows, TCDRIP& ripper, TMP3Info& tags);

    // How the tracks are proven and what the log's header says; before Execute.
    void SetVerification(const RipVerification& verification) { m_verification = verification; }
    void SetLogHeader(const RipLog::Header& header) { m_logHeader = header; }

    // Before the run: reads the folder's existing playlist.
    void Begin();
    // Walks the rows, saves the playlist, asks AccurateRip and saves the log.
    // An error leaves at once: the remaining rows are not handled and neither
    // the playlist nor the log is saved.
    void Execute();
    // Stops the run: the current track ends at its next chunk, later rows are skipped.
    void Stop();
    // The disc went away: the current track ends where it is and the run stops.
    void DiscRemoved();

    int RippedCount() const { return m_rippedCount; }
    // Tracks of the run that the disc could not give: no file was made for them.
    const QList<int>& UnreadTracks() const { return m_unreadTracks; }
    // The French text that names them, empty when there are none.
    QString UnreadTracksText() const;
    bool Stopped() const { return m_stopped; }
    bool WasDiscRemoved() const { return m_discRemoved; }
    // The French text after a run the disc's removal ended; names the track it cut short.
    QString DiscRemovedText() const;
    const Playlist& PlayList() const { return m_playlist; }
    // Where the playlist of this run is (or will be) saved.
    QString PlaylistFileName() const;
    // The tracks ripped, what was lost of them and their verdicts.
    const RipReport& Report() const { return m_report; }
    // Where the log was saved; empty when nothing was ripped.
    const QString& LogFileName() const { return m_logFile; }

    // Writes the row's tag values and track number into the file at its
    // target path: ID3v2 (MP3 files) and ID3v1.
    static void TagFile(TMP3Info& tags, const struct TrackRow& row);

    // Fired with the target path of each track before it is ripped.
    std::function<void(const QString& targetPath)> OnTrackStart;

private:
    void ripRow(const struct TrackRow& row);
    void finish();
    // Named after the first row as it reads now; once the rows are gone, the
    // name found at the start stands.
    QString fileAfterFirstRow(const QString& ending, const QString& atStart) const;

    ITrackRows& m_rows;
    TCDRIP& m_ripper;
    TMP3Info& m_tags;
    Playlist m_playlist;
    QString m_folder;
    QString m_playlistFile;
    QString m_startLogFile;
    int m_rippedCount = 0;
    QList<int> m_unreadTracks;
    QList<TrackEntry> m_tracks;
    RipReport m_report;
    RipVerification m_verification;
    RipLog::Header m_logHeader;
    QString m_logFile;
    int m_cutOffTrack = 0;
    bool m_stopped = false;
    bool m_discRemoved = false;
};
