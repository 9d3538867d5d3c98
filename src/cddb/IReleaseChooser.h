#pragma once
#include "cddb/AlbumRelease.h"
#include <QList>

// Picks one of the albums a source offers for a disc: the lookup window asks
// the user, the command line takes the first.
class IReleaseChooser {
public:
    virtual ~IReleaseChooser() = default;
    // uncertain: the server matched the disc only roughly. The position of
    // the chosen album; -1 when the user gave up.
    virtual int Choose(const QList<AlbumRelease>& candidates, bool uncertain) = 0;
};
