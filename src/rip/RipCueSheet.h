#pragma once
#include "disc/DiscToc.h"
#include <QMap>
#include <QString>

// The cue sheet of a run that ripped the whole disc, gaps appended to the
// previous track: one FILE per track file, each track's INDEX 01 at the start
// of its own file and its pre-gap (INDEX 00) at the end of the previous one.
// Written in UTF-8 beside the playlist, under the playlist's name.
class RipCueSheet {
public:
    explicit RipCueSheet(const DiscToc& toc) : m_toc(toc) {}

    // The cue of the playlist at playlistFile: same folder, same name, ".cue".
    static QString FileName(const QString& playlistFile);
    // The disc's id as the sheet, the log and the names of a run give it: its
    // CDDB id in capitals; empty for a disc without a table.
    static QString DiscId(const DiscToc& toc);
    // The start of the sheet's line that gives it.
    static const QString DiscIdStart; // "REM DISCID "

    void SetAlbum(const QString& performer, const QString& title);
    // The file of an audio track of the disc, named relative to the cue's
    // folder, and its tags. A track with no file is left out.
    void SetTrack(int number, const QString& file, const QString& performer, const QString& title);
    // The audio before track 1's INDEX 01 ripped to a file of its own: it
    // holds track 1's INDEX 00. None: a track 1 that starts past sector 0
    // gets a PREGAP of silence instead.
    void SetHiddenTrack(const QString& file) { m_hiddenFile = file; }

    QString Text() const;
    // Written aside and renamed: a failed save never leaves half a sheet.
    void Save(const QString& path) const;

private:
    struct TrackFile {
        QString file;
        QString performer;
        QString title;
    };
    // The track's header and INDEX 00 at position in the file before its
    // own, then its own file.
    QString pregapText(const TocTrack& track, const TrackFile& file, int32_t position) const;
    QString headerText(const TocTrack& track, const TrackFile& file) const;
    static QString indexesText(const TocTrack& track);

    DiscToc m_toc;
    QString m_performer;
    QString m_title;
    QMap<int, TrackFile> m_files;
    QString m_hiddenFile;
};
