#include "app/cli/RunFileList.h"
#include "rip/RipRun.h"
#include <QTextStream>

void RunFileList::Print(const RipRun& run, QTextStream& out)
{
    if (!run.CueSheetFileName().isEmpty())
        out << run.CueSheetFileName() << '\n';
    out << run.PlaylistFileName() << '\n';
    for (const TrackRipResult& t : run.Report().Tracks())
        if (t.FileWritten && !t.Interrupted)
            out << t.Path << '\n';
}
