#pragma once
#include "disc/AlbumTrack.h"
#include <QList>
#include <QString>

// Two ticked tracks with one target path: the second would overwrite the
// first, so a rip must not start.
class TargetCollision {
public:
    // The French refusal naming the first two such tracks and their file;
    // empty when every ticked track has a file of its own.
    static QString Text(const QList<AlbumTrack>& tracks);
};
