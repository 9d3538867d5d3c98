#include "app/cli/TerminalRun.h"
#include "app/cli/RipRefusals.h"
#include "app/cli/SignalStop.h"
#include "app/cli/TerminalProgress.h"
#include "platform/CalvenorError.h"
#include "platform/StopSignals.h"
#include "rip/RipRun.h"

int TerminalRun::Execute(RipRun& run, const Choices& choices)
{
    // Stopped at once, even in a read stuck on damage, and finished as a
    // stop in the window is; after the reads, a signal gives up the database
    // request.
    const StopSignals stopSignals([&run] { run.Stop(); });
    TerminalProgress progress(m_err, [&run] { run.Stop(); }, choices.listFiles);
    run.Begin();
    QStringList existing;
    run.AskOverwrite([&existing](const QString& file) {
        existing << file;
        return RipRun::Overwrite::Replace;
    });
    RipRefusals::Overwrite(existing, choices.overwrite);
    run.Execute(&progress);
    m_err << '\n';
    if (choices.listFiles)
        listFiles(run);
    SignalStop::ThrowIfInterrupted(run.Report(), choices.wanted);
    // The verdicts are told first, the proof given up after them.
    const int code = m_report(run.Report());
    SignalStop::ThrowIfProofGivenUp(run.VerificationGivenUp());
    if (!run.UnreadTracks().isEmpty())
        throw CalvenorError(run.UnreadTracksText());
    return code;
}

// Only the files complete under their names: a stopped track is told on the error stream.
void TerminalRun::listFiles(const RipRun& run)
{
    for (const TrackRipResult& t : run.Report().Tracks())
        if (t.FileWritten && !t.Interrupted)
            m_out << t.Path << '\n';
    if (!run.CueSheetFileName().isEmpty())
        m_out << run.CueSheetFileName() << '\n';
    m_out << run.PlaylistFileName() << '\n';
}
