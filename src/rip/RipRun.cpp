#include "rip/RipRun.h"
#include "disc/TargetCollision.h"
#include "encode/ParallelTrackEncoder.h"
#include "encode/RipOutput.h"
#include "platform/CalvenorError.h"
#include "platform/FileRewrite.h"
#include "platform/SignalHook.h"
#include "platform/PcmFormatConverter.h"
#include "platform/TargetNameRule.h"
#include "rip/DiscFileNames.h"
#include "rip/IRipProgress.h"
#include "rip/ITrackRows.h"
#include "rip/KnownDiscCheck.h"
#include "rip/RipCueSheet.h"
#include "rip/TCDRIP.h"
#include "rip/RipRunTexts.h"
#include "rip/TrackFileNamer.h"
#include "rip/TrackReads.h"
#include <QDir>
#include <QMap>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <utility>

struct RipRun::PendingRow {
    AlbumTrack row;
    TrackRipResult rip;    // what the ripper made of it
    bool cutOff = false;   // the disc went away while it was read
    bool encoding = false; // its file is in the pool's hands
};

// Follows the ripper's progress for the run and passes it on to the run's
// owner. A stop that came while a track was being opened takes effect at its
// first chunk.
class RipRun::ProgressHook : public IRipProgress {
public:
    ProgressHook(RipRun& run, IRipProgress* owner) : m_run(run), m_owner(owner) {}
    void TrackBegins(int number, const QString& path) override
    {
        if (m_owner)
            m_owner->TrackBegins(number, path);
    }
    void ReadProgress(int percent) override
    {
        m_run.m_pace.SetTrackPercent(percent);
        if (m_run.m_stopped)
            m_run.m_ripper.AbortRip();
        if (m_owner)
            m_owner->ReadProgress(percent);
    }
    void Breathe() override
    {
        if (m_owner)
            m_owner->Breathe();
    }

private:
    RipRun& m_run;
    IRipProgress* m_owner;
};

RipRun::RipRun(ITrackRows& rows, TCDRIP& ripper, TMP3Info& tags) : m_rows(rows), m_ripper(ripper), m_tags(tags) {}

QString RipRun::PlaylistFileName() const
{
    return fileAfterFirstRow(m_lists.PlaylistEnding(), m_playlistFile);
}

QString RipRun::fileAfterFirstRow(const QString& ending, const QString& atStart) const
{
    return m_rows.RowCount() == 0 ? atStart : DiscFileNames(m_lists.Folder(), albumRow(), m_toc).File(ending);
}

// The album as the run's first row gives it, under the album's artist: a
// compilation's files are not named after its first track's artist.
AlbumTrack RipRun::albumRow() const
{
    AlbumTrack first = m_rows.Row(1);
    if (!m_album.AlbumArtist().isEmpty())
        first.setValue(AlbumTrack::Artist, m_album.AlbumArtist());
    return first;
}

void RipRun::Begin()
{
    m_stopped = false;
    m_discRemoved = false;
    m_pace.ResetRipped();
    // The folder of the run: a later change of the folder text (the disc
    // removed, say) does not move its files or its playlist.
    m_folder = m_rows.Folder();
    QList<AlbumTrack> rows;
    QStringList files;
    for (int k = 1; k <= m_rows.RowCount(); ++k) {
        rows << m_rows.Row(k);
        if (rows.last().ticked)
            files << TargetNameRule::InsideFolder(m_folder, m_ripper.OutputPath(rows.last().value(AlbumTrack::Target)));
    }
    if (const QString collision = TargetCollision::Text(rows); !collision.isEmpty())
        throw CalvenorError(collision);
    m_lists = RunListsPlace(m_folder, files);
    m_playlistFile = fileAfterFirstRow(m_lists.PlaylistEnding(), QString());
    m_startLogFile = fileAfterFirstRow(RipLog::Ending, QString());
    // Only this run's files go into the playlist at its end, merged with what
    // the file holds then; reading it now refuses a file that cannot be read.
    m_playlist = Playlist();
    if (m_singleLog.isEmpty())
        Playlist().Load(m_playlistFile);
    // The disc's table of contents, should the ripper go with the disc.
    m_tracks = m_ripper.Tracks;
    m_skippedTracks.clear();
    m_keepCoverFile = false;
}

bool RipRun::AskOverwrite(std::function<Overwrite(const QString& file)> ask)
{
    for (int k = 1; k <= m_rows.RowCount(); ++k) {
        const AlbumTrack row = m_rows.Row(k);
        const QString file = m_ripper.OutputPath(row.value(AlbumTrack::Target));
        if (!inRun(row) || !QFile::exists(file))
            continue;
        const Overwrite answer = ask(file);
        if (answer == Overwrite::Cancel || answer == Overwrite::ReplaceAll)
            return answer == Overwrite::ReplaceAll;
        if (answer != Overwrite::Replace)
            m_skippedTracks << row.number;
        if (answer == Overwrite::SkipAll)
            ask = [](const QString&) { return Overwrite::Skip; };
    }
    const QString cover = coverFile();
    const Overwrite answer = QFile::exists(cover) && !m_cover.AlreadyIn(cover) ? ask(cover) : Overwrite::Replace;
    m_keepCoverFile = answer == Overwrite::Skip || answer == Overwrite::SkipAll;
    return answer != Overwrite::Cancel;
}

bool RipRun::inRun(const AlbumTrack& row) const
{
    return row.ticked && !m_skippedTracks.contains(row.number);
}

QString RipRun::SkippedTracksText() const
{
    return RipRunTexts::Skipped(m_skippedTracks);
}

QString RipRun::UnreadTracksText() const
{
    return RipRunTexts::Unread(m_unreadTracks);
}

QString RipRun::DiscRemovedText() const
{
    return RipRunTexts::DiscRemoved(m_cutOffTrack);
}

void RipRun::Execute(IRipProgress* owner)
{
    m_cutOffTrack = 0;
    m_unreadTracks.clear();
    m_report = RipReport();
    m_logFile.clear();
    m_cueFile.clear();
    m_taggedRows.clear();
    m_ripper.SetMeasureLoudness(m_replayGain);
    m_verificationGivenUp = false;
    if (m_subchannelDevice) {
        m_toc.ReadCodes(*m_subchannelDevice, m_subchannelSource);
        m_album.SetDisc(m_toc);
    }
    int ticked = 0;
    int64_t bytes = 0;
    for (int k = 1; k <= m_rows.RowCount(); ++k) {
        const AlbumTrack row = m_rows.Row(k);
        if (inRun(row)) {
            ++ticked;
            bytes += bytesOfTrack(row.number);
        }
    }
    m_pace.Begin(ticked, bytes);
    m_coverFile = coverFile();

    ProgressHook progress(*this, owner);
    m_cancelVerification = false;
    KnownDiscCheck discCheck(m_verification, &m_cancelVerification);
    TrackReads reads(m_ripper, m_passes, &discCheck);
    const std::unique_ptr<ParallelTrackEncoder> pool = makePool();
    // The ripper names its own files again and has no pool, however the run ends.
    struct Detach {
        RipRun* run;
        bool unnamed;
        ~Detach() { run->setPool(nullptr), run->m_ripper.SetLeavesFilesUnnamed(unnamed); }
    } detach{this, m_ripper.LeavesFilesUnnamed()};
    setPool(pool.get());
    m_ripper.SetLeavesFilesUnnamed(true);

    std::deque<PendingRow> pending;
    try {
        // The rows are counted anew at each step: a removed disc empties them.
        for (int k = 1; k <= m_rows.RowCount() && !m_stopped; ++k) {
            const AlbumTrack row = m_rows.Row(k);
            if (!inRun(row))
                continue;
            pending.push_back(readRow(row, pool.get(), reads, progress));
            completeInOrder(pending, pool.get(), false);
        }
        m_pace.AllRead();
    } catch (...) {
        // The rows read before the failing one are tagged and counted, as a
        // one-thread run would have left them; the first error is the one told.
        try {
            completeInOrder(pending, pool.get(), true);
        } catch (...) {
        }
        throw;
    }
    completeInOrder(pending, pool.get(), true);
    tagAlbumGain();
    finish();
}

void RipRun::tagAlbumGain()
{
    // A stop after the last read cuts no track short: the album is whole.
    const bool whole = m_singleLog.isEmpty() && m_skippedTracks.isEmpty() && m_report.RippedCount() == m_pace.TickedRows()
        && m_report.Tracks().size() == m_pace.TickedRows() && !m_report.LostSectors();
    const std::optional<ReplayGain::Loudness> album =
        m_replayGain && whole ? ReplayGain::OfAlbum(m_report.Tracks()) : std::nullopt;
    m_report.SetAlbumLoudness(album);
    // A WAV file holds an ID3v1 trailer only, which has no room for it.
    if (!album || !m_ripper.EncodesFile())
        return;
    // Each file is named already: its tags change in a copy that then takes its name.
    for (const AlbumTrack& row : m_taggedRows)
        FileRewrite::Apply(row.value(AlbumTrack::Target), [&](const QString& copy) {
            tagRow(row, *m_report.Track(row.number), album, copy);
            SignalHook::Reach("album-gain", row.number);
        });
}

void RipRun::finish()
{
    SignalHook::Reach("finish");
    const QString file = PlaylistFileName();
    if (file.isEmpty() && m_singleLog.isEmpty())
        return;
    if (m_singleLog.isEmpty())
        m_playlist.Save(file);
    if (m_report.Tracks().isEmpty())
        return;
    if (m_singleLog.isEmpty()) {
        saveCueSheet();
        saveCover();
    }
    // A Stop during the reads still lets the tracks already ripped be
    // proven; a Stop from here on gives up the request.
    m_cancelVerification = false;
    m_verification.Apply(m_report, &m_cancelVerification);
    m_verificationGivenUp = m_cancelVerification.load();
    RipLog::Header header = m_logHeader;
    header.Date = QDateTime::currentDateTime();
    header.Passes = m_passes;
    header.CueSheet = m_cueFile;
    header.Cover = m_cover.LogText();
    header.DiscId = RipCueSheet::DiscId(m_toc);
    m_logFile = m_singleLog.isEmpty() ? fileAfterFirstRow(RipLog::Ending, m_startLogFile) : m_singleLog;
    RipLog::Save(m_logFile, header, m_report);
}

void RipRun::saveCueSheet()
{
    // A track whose earlier file was kept is on the disc all the same.
    QMap<int, QString> files;
    for (int k = 1; k <= m_rows.RowCount(); ++k) {
        const AlbumTrack row = m_rows.Row(k);
        const TrackRipResult* rip = m_report.Track(row.number);
        const QString kept = m_ripper.OutputPath(row.value(AlbumTrack::Target));
        if (inRun(row) && rip && RipReport::RippedToEnd(*rip))
            files[row.number] = rip->Path;
        else if (row.ticked && m_skippedTracks.contains(row.number) && QFile::exists(kept))
            files[row.number] = kept;
    }
    const QList<TocTrack> audio = m_toc.AudioTracks();
    if (audio.isEmpty() || !std::all_of(audio.begin(), audio.end(), [&](const TocTrack& t) { return files.contains(t.number); }))
        return;
    if (m_subchannelDevice)
        m_toc.FindIndexPoints(*std::exchange(m_subchannelDevice, nullptr), m_subchannelSource);
    RipCueSheet sheet(m_toc);
    sheet.SetAlbum(albumRow().value(AlbumTrack::Artist), albumRow().value(AlbumTrack::Album));
    for (int k = 1; k <= m_rows.RowCount(); ++k) {
        const AlbumTrack row = m_rows.Row(k);
        if (!files.contains(row.number))
            continue;
        // Track 00: the audio hidden before track 1.
        if (row.number == 0)
            sheet.SetHiddenTrack(relativeName(files[row.number]));
        else
            sheet.SetTrack(row.number, relativeName(files[row.number]), row.value(AlbumTrack::Artist),
                           row.value(AlbumTrack::Title));
    }
    m_cueFile = RipCueSheet::FileName(PlaylistFileName());
    sheet.Save(m_cueFile);
}

QString RipRun::coverFile() const
{
    if (!m_singleLog.isEmpty())
        return QString();
    for (int k = 1; k <= m_rows.RowCount(); ++k)
        if (inRun(m_rows.Row(k)))
            return TargetNameRule::InsideFolder(
                m_folder, m_cover.FileIn(QFileInfo(m_ripper.OutputPath(m_rows.Row(k).value(AlbumTrack::Target))).path()));
    return QString();
}

void RipRun::saveCover()
{
    const QList<TrackRipResult>& tracks = m_report.Tracks();
    const bool whole = std::any_of(tracks.begin(), tracks.end(),
                                   [](const TrackRipResult& t) { return t.FileWritten && !t.Interrupted; });
    if (whole && !m_coverFile.isEmpty() && !m_keepCoverFile && !m_cover.AlreadyIn(m_coverFile))
        m_cover.Save(m_coverFile);
}

QString RipRun::relativeName(const QString& path) const
{
    return m_lists.RelativeName(path);
}

std::unique_ptr<ParallelTrackEncoder> RipRun::makePool()
{
    // A later read of a track may replace its file, which the pool would
    // already be encoding: with several passes, each track is encoded as read.
    if (m_encoders <= 0 || m_passes > 1 || !m_ripper.EncodesFile())
        return nullptr;
    return std::make_unique<ParallelTrackEncoder>(m_encoders);
}

void RipRun::setPool(ParallelTrackEncoder* pool)
{
    m_pace.SetPool(pool);
    m_ripper.SetEncoderPool(pool);
}

RipRun::PendingRow RipRun::readRow(const AlbumTrack& row, ParallelTrackEncoder* pool, TrackReads& reads,
                                   IRipProgress& progress)
{
    const int begun = pool ? pool->TracksBegun() : 0;
    // The name template may put the file in folders of its own.
    QDir().mkpath(QFileInfo(row.value(AlbumTrack::Target)).absolutePath());
    const TrackRipResult rip = reads.Rip(row.number, row.value(AlbumTrack::Target), &progress);
    SignalHook::Reach("read", row.number);
    m_pace.RowRead();
    return PendingRow{row, rip, m_discRemoved, pool && pool->TracksBegun() > begun};
}

// Rows are completed in the order they were read; without wait, only as far as their files are finished.
void RipRun::completeInOrder(std::deque<PendingRow>& pending, ParallelTrackEncoder* pool, bool wait)
{
    while (!pending.empty()) {
        if (pending.front().encoding) {
            std::exception_ptr error;
            std::unique_ptr<RipOutput> file;
            if (!pool->TakeFinished(wait, error, &file))
                return;
            if (error)
                std::rethrow_exception(error);
            pending.front().rip.File = std::move(file);
        }
        PendingRow done = std::move(pending.front());
        pending.pop_front();
        completeRow(done);
    }
}

void RipRun::completeRow(PendingRow& done)
{
    // The file as the ripper names it: a FLAC rip gives its own extension.
    AlbumTrack row = done.row;
    row.setValue(AlbumTrack::Target, m_ripper.OutputPath(row.value(AlbumTrack::Target)));
    const QString path = row.value(AlbumTrack::Target);
    TrackRipResult& rip = done.rip;
    rip.Interrupted = rip.Interrupted || done.cutOff;
    if (const TocTrack* disc = m_toc.Track(rip.TrackNum))
        rip.PreEmphasis = disc->preEmphasis;
    if (rip.FileWritten)
        QFile::remove(TCDRIP::JitterLogPath(path));
    // Only the ripper tells whether it made the file: an old file of that
    // name is not this track. A track the disc could not give is neither
    // tagged nor listed, and the run says so at its end.
    if (!rip.FileWritten && !rip.Interrupted) {
        m_pace.RowRipped();
        m_unreadTracks << done.row.number;
    } else if (rip.FileWritten && rip.Interrupted) {
        // Stopped or cut off by the disc's removal: the part read never
        // takes the place of a whole file, and the playlist's line for an
        // earlier whole file stays true.
        if (done.cutOff)
            m_cutOffTrack = done.row.number;
        TrackFileNamer::KeepPart(rip, m_keepIncomplete);
    } else if (rip.FileWritten) {
        m_pace.RowRipped();
        // A file is named only once whole and tagged.
        TrackFileNamer::NameWhole(rip, [&](const QString& data) { tagRow(row, rip, std::nullopt, data); });
        SignalHook::Reach("named", row.number);
        m_taggedRows << row;
        m_playlist.Add(relativeName(path));
    }
    rip.File.reset();
    m_report.Add(rip);
}

void RipRun::tagRow(const AlbumTrack& row, const TrackRipResult& rip, const std::optional<ReplayGain::Loudness>& album,
                    const QString& data)
{
    // Raw PCM has no room for a tag.
    if (m_ripper.Format() == FileFormat::Pcm)
        return;
    TrackTagging::Write(m_tags, row, TrackTagging::TrackTotal(m_ripper.AlbumTracks()), m_album, m_cover,
                        ReplayGain::Values(rip, album), data);
}

void RipRun::Stop()
{
    m_stopped = true;
    m_cancelVerification = true;
    m_ripper.AbortRip();
}

int64_t RipRun::bytesOfTrack(int track) const
{
    if (track < 1 || track > m_tracks.size())
        return 0;
    const TTrack& t = m_tracks.at(track - 1).Track;
    return int64_t(t.LastSector - t.FirstSector + 1) * PcmFormatConverter::BytesPerSector(m_ripper.OutputFormat());
}

void RipRun::DiscRemoved()
{
    m_discRemoved = true;
    Stop();
}
