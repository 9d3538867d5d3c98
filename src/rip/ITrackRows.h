#pragma once
#include "disc/AlbumTrack.h"
#include <QString>

// The tracks a rip run walks and the destination folder. Tracks may vanish
// while the run goes on (the disc was removed): a run asks for the count each
// time.
class ITrackRows {
public:
    virtual ~ITrackRows() = default;
    virtual int RowCount() const = 0;
    // Row k, 1-based, 1 <= k <= RowCount().
    virtual AlbumTrack Row(int k) const = 0;
    virtual QString Folder() const = 0;
};
