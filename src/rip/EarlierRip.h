#pragma once
#include "disc/DiscToc.h"
#include "rip/DiscTrackFiles.h"
#include <QString>
#include <atomic>

class RipReport;

// A whole disc ripped earlier, read back from its folder: the cue sheet the
// run wrote (RipCueSheet: one file per track, each track's INDEX 01 at the
// start of its own file), the files it names and, when the log beside it
// gives it, the disc's table (RipLog::DiscTableStart). Without that line the
// table is made from the sheet and the files' lengths, as a disc of audio
// tracks alone.
class EarlierRip {
public:
    // path: the cue sheet, or a folder holding one written by Calvenor.
    // Raises CalvenorError with a French text when there is none, several,
    // or one that does not give a file per track.
    static EarlierRip Read(const QString& path);

    const QString& CueSheet() const { return m_cue; }
    // The run's log beside the sheet, or a log of the sheet's own name (it
    // may not exist yet).
    const QString& Log() const { return m_log; }
    const DiscToc& Toc() const { return m_toc; }
    const DiscTrackFiles& Files() const { return m_files; }

    // The tracks as their files hold them, with their sums: a report to
    // prove. Reads every file; raises CalvenorError, HttpCancelled once cancel is set.
    RipReport Report(const std::atomic<bool>* cancel = nullptr) const;

private:
    EarlierRip(const QString& cue, const QString& log, const DiscToc& toc, const DiscTrackFiles& files);
    static QString findCueSheet(const QString& path);
    // The disc's table from the log's line; empty when it has none.
    static DiscToc tableInLog(const QString& log);

    QString m_cue;
    QString m_log;
    DiscToc m_toc;
    DiscTrackFiles m_files;
};
