#pragma once
#include "disc/AlbumTrack.h"
#include "disc/DiscToc.h"
#include "rip/AlbumIdentityTags.h"
#include "rip/Playlist.h"
#include "rip/RipCover.h"
#include "rip/ReplayGain.h"
#include "rip/RipLog.h"
#include "rip/TrackTagging.h"
#include "rip/RipReport.h"
#include "rip/RipVerification.h"
#include "rip/RunListsPlace.h"
#include "rip/RunPace.h"
#include "rip/TTrack.h"
#include <QList>
#include <QString>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class IRipProgress;
class ITrackRows;
class ParallelTrackEncoder;
class TCDRIP;
class TMP3Info;
class TrackReads;

// One rip run over the ticked rows: rip each track to its row's target path,
// tag the file, list it in the folder's playlist and remove its jitter log;
// at the end, prove the tracks against AccurateRip, then merge this run's
// files into the playlist and its tracks into the rip log beside it. Each
// file gets its name only once complete and tagged, and a named file is
// never written in place again, so a killed run leaves the files, playlist
// and log of earlier runs as they were. Shared by the ripping
// window and the command-line tool.
//
// With several passes, each track is read until two reads agree
// (TrackReads). In an MP3 run with encoders and one pass, the reader goes on
// with the next track while encoder threads work through the tracks read;
// files are tagged and listed in track order as they are completed. Stop,
// DiscRemoved and the progress queries may be called from any thread.
class RipRun {
public:
    RipRun(ITrackRows& rows, TCDRIP& ripper, TMP3Info& tags);

    // How the tracks are proven and what the log's header says; before Execute.
    void SetVerification(const RipVerification& verification) { m_verification = verification; }
    void SetLogHeader(const RipLog::Header& header) { m_logHeader = header; }
    // The disc's table of contents, for the cue sheet of a run that rips the
    // whole disc and the tracks' pre-emphasis; none: neither.
    void SetToc(const DiscToc& toc) { m_toc = toc; }
    // The disc of a table read without what its Q sub-channel holds: the run
    // reads it on its own thread, the ISRCs and catalogue number before the
    // first track, the index points for a cue sheet. None: the table stands.
    void SetSubchannelSource(ICdAudioDevice* device, const QString& source)
    {
        m_subchannelDevice = device;
        m_subchannelSource = source;
    }
    // The album values and ISRCs every file's tags carry beside the row's own.
    void SetAlbum(const AlbumIdentityTags& album) { m_album = album; }
    // Encoder threads of an MP3 or FLAC run (ParallelTrackEncoder::DefaultEncoders()
    // for one per core); 0, the default, encodes as it reads.
    void SetEncoders(int count) { m_encoders = count; }
    // Reads of each track, at most (TrackReads): 1, the default, reads it
    // once; from 2 on, a test read and copy reads until two agree.
    void SetPasses(int passes) { m_passes = passes; }
    // The album's front cover, embedded and saved as it says; none by default.
    void SetCover(const RipCover& cover) { m_cover = cover; }
    // ReplayGain 2.0 (on by default): each track's loudness is measured as
    // it is read and its file gets its gain and peak; once every file is
    // finished, when the whole run ripped without fault, the album's too.
    void SetReplayGain(bool on) { m_replayGain = on; }
    // What becomes of the part read of a stopped track: kept under a name
    // that says so (TCDRIP::IncompletePath), the default, or dropped.
    void SetKeepsIncomplete(bool keep) { m_keepIncomplete = keep; }
    // A run of one file on its own (calvenor-rip --track): no playlist, cue
    // sheet, cover file or album values; its log at logFile.
    void SetSingleFile(const QString& logFile) { m_singleLog = logFile; }

    // Before the run: checks that the folder's existing playlist can be read
    // and refuses two ticked rows with one target (TargetCollision) or a
    // ticked row whose file would lie outside the folder.
    void Begin();
    // What becomes of a file of the run that exists already.
    enum class Overwrite { Replace, ReplaceAll, Skip, SkipAll, Cancel };
    // After Begin, before any read: asks about each ticked row whose file
    // exists, until an answer of ReplaceAll. A row answered Skip is left out
    // of the run, and after SkipAll every later one whose file exists too;
    // nothing is overwritten unasked. Then about another cover file where
    // the run saves its cover: Skip keeps it. False after Cancel: the run is
    // not to be executed.
    bool AskOverwrite(std::function<Overwrite(const QString& file)> ask);
    // The rows left out so, and the French text that names them (empty when none).
    const QList<int>& SkippedTracks() const { return m_skippedTracks; }
    QString SkippedTracksText() const;
    // Walks the rows, saves the playlist, asks AccurateRip and saves the log.
    // An error leaves at once: the remaining rows are not handled and neither
    // the playlist nor the log is saved. progress, when given, hears of each
    // track and chunk read, on this thread.
    void Execute(IRipProgress* progress = nullptr);
    // Stops the run: the current track ends after the sector being read and
    // later rows are skipped. Tracks already read are encoded, tagged and
    // named; the stopped one keeps what was read under a name of its own
    // (SetKeepsIncomplete), never the track's, and is neither counted,
    // tagged, listed nor proven: the report tells it
    // (RipReport::InterruptionLines) and so does the log.
    // A database request at the end of the run is given up at once.
    void Stop();
    // The disc went away: the current track ends where it is and the run stops.
    void DiscRemoved();

    int RippedCount() const { return m_pace.RippedCount(); }
    // How far the run is (RunPace): safe from any thread.
    int TrackPercent() const { return m_pace.TrackPercent(); }
    int WorkDone() const { return m_pace.WorkDone(); }
    int WorkTotal() const { return m_pace.WorkTotal(); }
    int SecondsLeft(int64_t elapsedMs) const { return m_pace.SecondsLeft(elapsedMs); }
    // Tracks of the run that the disc could not give: no file was made for them.
    const QList<int>& UnreadTracks() const { return m_unreadTracks; }
    // The French text that names them, empty when there are none.
    QString UnreadTracksText() const;
    bool Stopped() const { return m_stopped; }
    // A stop gave up the database request at the end of the run.
    bool VerificationGivenUp() const { return m_verificationGivenUp; }
    bool WasDiscRemoved() const { return m_discRemoved; }
    // The French text after a run the disc's removal ended; names the track it cut short.
    QString DiscRemovedText() const;
    const Playlist& PlayList() const { return m_playlist; }
    // Where the playlist of this run is (or will be) saved (DiscFileNames).
    QString PlaylistFileName() const;
    // The tracks ripped, what was lost of them and their verdicts.
    const RipReport& Report() const { return m_report; }
    // Where the log was saved; empty when nothing was ripped.
    const QString& LogFileName() const { return m_logFile; }
    // Where the cue sheet was saved; empty when the run did not rip the whole disc.
    const QString& CueSheetFileName() const { return m_cueFile; }


private:
    struct PendingRow;
    class ProgressHook;
    std::unique_ptr<ParallelTrackEncoder> makePool();
    void setPool(ParallelTrackEncoder* pool);
    PendingRow readRow(const AlbumTrack& row, ParallelTrackEncoder* pool, TrackReads& reads, IRipProgress& progress);
    void completeInOrder(std::deque<PendingRow>& pending, ParallelTrackEncoder* pool, bool wait);
    void completeRow(PendingRow& done);
    // Into the file at the row's target, or into the bytes at data (not yet named).
    void tagRow(const AlbumTrack& row, const TrackRipResult& rip, const std::optional<ReplayGain::Loudness>& album,
                const QString& data = {});
    // Rewrites the tags of the files with the album's ReplayGain, once they are all finished.
    void tagAlbumGain();
    int64_t bytesOfTrack(int track) const;
    // A ticked row the user did not leave out.
    bool inRun(const AlbumTrack& row) const;
    void finish();
    void saveCueSheet();
    // Where the run saves its cover: in the folder of its first track; empty: not saved.
    QString coverFile() const;
    // Once, at the end of a run that made a whole file.
    void saveCover();
    // A file of the run as the playlist and the cue sheet name it: relative to the folder.
    QString relativeName(const QString& path) const;
    // Named after the first row as it reads now; once the rows are gone, the
    // name found at the start stands.
    QString fileAfterFirstRow(const QString& ending, const QString& atStart) const;
    AlbumTrack albumRow() const;

    ITrackRows& m_rows;
    TCDRIP& m_ripper;
    TMP3Info& m_tags;
    Playlist m_playlist;
    QString m_folder;
    QString m_playlistFile;
    QString m_startLogFile;
    int m_encoders = 0;
    int m_passes = 1;
    bool m_replayGain = true;
    bool m_keepIncomplete = true;
    QString m_singleLog;
    bool m_verificationGivenUp = false;
    QList<AlbumTrack> m_taggedRows; // as their files were tagged, in order
    RunPace m_pace;
    RunListsPlace m_lists;
    QList<int> m_unreadTracks;
    QList<int> m_skippedTracks;
    QList<TrackEntry> m_tracks;
    RipReport m_report;
    RipVerification m_verification;
    RipLog::Header m_logHeader;
    QString m_logFile;
    DiscToc m_toc;
    ICdAudioDevice* m_subchannelDevice = nullptr;
    QString m_subchannelSource;
    AlbumIdentityTags m_album;
    QString m_cueFile;
    RipCover m_cover;
    QString m_coverFile;
    bool m_keepCoverFile = false;
    int m_cutOffTrack = 0;
    std::atomic<bool> m_stopped{false};
    std::atomic<bool> m_cancelVerification{false};
    std::atomic<bool> m_discRemoved{false};
};
