#pragma once
#include "rip/Playlist.h"
#include <QList>
#include <QString>
#include <functional>

class ITrackRows;
class TCDRIP;
class TMP3Info;

// One rip run over the ticked rows: rip each track to its row's target path,
// tag the file, list it in the folder's playlist and remove its jitter log.
// Shared by the ripping window and the command-line tool.
class RipRun {
public:
    RipRun(ITrackRows& rows, TCDRIP& ripper, TMP3Info& tags);

    // Before the run: reads the folder's existing playlist.
    void Begin();
    // Walks the rows and saves the playlist. An error leaves at once: the
    // remaining rows are not handled and the playlist is not saved.
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
    const Playlist& PlayList() const { return m_playlist; }
    // Where the playlist of this run is (or will be) saved.
    QString PlaylistFileName() const;

    // Writes the row's tag values and track number into the file at its
    // target path: ID3v2 (MP3 files) and ID3v1.
    static void TagFile(TMP3Info& tags, const struct TrackRow& row);

    // Fired with the target path of each track before it is ripped.
    std::function<void(const QString& targetPath)> OnTrackStart;

private:
    void ripRow(const struct TrackRow& row);

    ITrackRows& m_rows;
    TCDRIP& m_ripper;
    TMP3Info& m_tags;
    Playlist m_playlist;
    QString m_folder;
    QString m_playlistFile;
    int m_rippedCount = 0;
    QList<int> m_unreadTracks;
    bool m_stopped = false;
    bool m_discRemoved = false;
};
