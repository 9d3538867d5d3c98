#pragma once
#include "disc/AlbumTrack.h"
#include "disc/DiscToc.h"
#include <QString>

// Where a run writes the files of the disc beside its tracks: the playlist,
// its cue sheet and the rip log, in the run's folder, named after the album
// (Playlist::FileName). When a cue sheet or log is already there under those
// names that does not give this disc's id (another disc's, or written before
// logs gave one), this disc's names take its id ("1A2B3C4D - PlayList.M3u"):
// neither disc's files become the other's. A re-rip finds the disc's own
// files, under either name, and adds to them.
class DiscFileNames {
public:
    // Named after the artist and album of the run's first row; a disc
    // without a table has no id, and the album's names stand.
    DiscFileNames(const QString& folder, const AlbumTrack& first, const DiscToc& toc);

    // The file of this name ending in the folder (Playlist::Ending,
    // RipLog::Ending); raises CalvenorError, French text, were it outside.
    QString File(const QString& ending) const;

private:
    enum class Owner { Nobody, ThisDisc, AnotherDisc };
    // Whose the cue sheet and log under the names of now are.
    Owner owner(const QString& discId) const;
    // A file that cannot be read is another disc's.
    static Owner ownerOf(const QString& path, const QString& discId);

    QString m_folder;
    QString m_artist;
    QString m_album;
    QString m_discId; // empty: the album's names
};
