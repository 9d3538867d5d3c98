#pragma once
#include "cddb/AlbumRelease.h"
#include <QByteArray>
#include <QList>

// Reads the releases of a MusicBrainz disc identifier lookup
// (/ws/2/discid/<id>?inc=recordings+artist-credits+labels+release-groups&fmt=json).
class MusicBrainzJson {
public:
    // For each release, the medium that holds the disc: titles by track
    // position, trackCount titles (0: as many as the medium has). Raises
    // CalvenorError when the answer is not JSON.
    static QList<AlbumRelease> Releases(const QByteArray& json, const QString& discId, int trackCount);
};
