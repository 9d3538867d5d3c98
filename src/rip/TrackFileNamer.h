#pragma once
#include "rip/TrackRipResult.h"
#include <QString>
#include <functional>

// How a ripped track's file gets its tags and its name: tagged while it has
// none, named once whole, so that a killed program never leaves an untagged
// or partial file under a track's name; the part read of a stopped track is
// kept under a name of its own, never the track's.
class TrackFileNamer {
public:
    // Writes the tags into the bytes reached at the path given (empty: the
    // file at the track's name).
    using Tagging = std::function<void(const QString& data)>;

    // A whole track: tags rip.File, then names it; a file the ripper named
    // already (no rip.File) is tagged where it is; a device or a pipe takes no tag.
    static void NameWhole(TrackRipResult& rip, const Tagging& tag);
    // A stopped track: its part read goes under TCDRIP::IncompletePath, and
    // rip.Path with it; without keep it is dropped and FileWritten cleared.
    static void KeepPart(TrackRipResult& rip, bool keep);
};
