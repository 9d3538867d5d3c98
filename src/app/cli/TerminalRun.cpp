#include "app/cli/TerminalRun.h"
#include "app/cli/RipRefusals.h"
#include "app/cli/SignalStop.h"
#include "app/cli/RunFileList.h"
#include "app/cli/TerminalRunProgress.h"
#include "platform/CalvenorError.h"
#include "platform/StopSignals.h"
#include "rip/RipRun.h"

int TerminalRun::Execute(RipRun& run, const TCDRIP& ripper, const Choices& choices)
{
    // Stopped at once, even in a read stuck on damage, and finished as a
    // stop in the window is; after the reads, a signal gives up the database
    // request.
    const StopSignals stopSignals([&run] { run.Stop(); });
    TerminalRunProgress progress(m_err, TerminalRunProgress::SectorsOf(ripper, choices.wanted), [&run] { run.Stop(); });
    progress.Follow(run);
    run.Begin();
    QStringList existing;
    run.AskOverwrite([&existing](const QString& file) {
        existing << file;
        return RipRun::Overwrite::Replace;
    });
    RipRefusals::Overwrite(existing, choices.overwrite);
    run.Execute(&progress);
    progress.Finish();
    // The verdicts first: the files made end the output.
    const QString interruption = SignalStop::InterruptionText(run.Report(), choices.wanted);
    const int code = interruption.isEmpty() ? m_report(run.Report()) : 0;
    if (choices.listFiles)
        RunFileList::Print(run, m_out);
    if (!interruption.isEmpty())
        throw CalvenorError(interruption);
    SignalStop::ThrowIfProofGivenUp(run.VerificationGivenUp());
    if (!run.UnreadTracks().isEmpty())
        throw CalvenorError(run.UnreadTracksText());
    return code;
}
