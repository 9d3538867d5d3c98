#pragma once
#include <QString>
#include <QStringList>

// Where a run puts its playlist, cue sheet and log: in the folder its
// tracks share (the album's folder when the name template makes one), never
// above the run's destination; and whether the playlist's name carries the
// format, as it does when that folder also holds the same tracks in another
// format, so that each playlist and cue sheet lists one format's files.
class RunListsPlace {
public:
    RunListsPlace() = default;
    // destination: the run's folder; files: the paths the run writes.
    RunListsPlace(const QString& destination, const QStringList& files);

    const QString& Folder() const { return m_folder; }
    // "PlayList.M3u", or "PlayList (MP3).M3u" beside another format's files.
    QString PlaylistEnding() const;
    // A file of the run as the playlist and the cue sheet name it.
    QString RelativeName(const QString& path) const;

private:
    static QString commonFolder(const QString& destination, const QStringList& files);
    static bool anotherFormatBeside(const QString& file);

    QString m_folder;
    QString m_format; // empty: the playlist's name carries none
};
