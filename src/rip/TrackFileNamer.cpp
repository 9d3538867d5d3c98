#include "rip/TrackFileNamer.h"
#include "encode/RipOutput.h"
#include "rip/TCDRIP.h"

void TrackFileNamer::NameWhole(TrackRipResult& rip, const Tagging& tag)
{
    if (!rip.File) {
        tag(QString());
        return;
    }
    if (!rip.File->WritesInPlace())
        tag(rip.File->DataPath());
    rip.File->Commit();
    rip.File.reset();
}

void TrackFileNamer::KeepPart(TrackRipResult& rip, bool keep)
{
    if (!rip.File)
        return;
    if (keep) {
        rip.Path = TCDRIP::IncompletePath(rip.Path);
        rip.File->CommitAs(rip.Path);
    } else {
        rip.FileWritten = false;
    }
    rip.File.reset();
}
