#include "app/cli/SignalStop.h"
#include "platform/CalvenorError.h"
#include "platform/StopSignals.h"
#include "rip/RipReport.h"
#include <QStringList>
#include <algorithm>

void SignalStop::ThrowIfInterrupted(const RipReport& report, const QList<int>& wanted)
{
    const QString text = InterruptionText(report, wanted);
    if (!text.isEmpty())
        throw CalvenorError(text);
}

QString SignalStop::InterruptionText(const RipReport& report, const QList<int>& wanted)
{
    const int signal = StopSignals::Received();
    QStringList skipped;
    for (int n : wanted)
        if (std::none_of(report.Tracks().begin(), report.Tracks().end(),
                         [n](const TrackRipResult& t) { return t.TrackNum == n; }))
            skipped << QString::number(n);
    QStringList lines = report.InterruptionLines();
    // A signal after the last read stops nothing: every file is whole.
    if (signal == 0 || (lines.isEmpty() && skipped.isEmpty()))
        return QString();
    lines.prepend(QStringLiteral("Extraction interrompue par le signal %1.").arg(signal));
    if (!skipped.isEmpty())
        lines << QStringLiteral("Pistes non rippées : %1.").arg(skipped.join(QStringLiteral(", ")));
    return lines.join('\n');
}

void SignalStop::ThrowIfProofGivenUp(bool givenUp)
{
    const int signal = StopSignals::Received();
    if (signal == 0 || !givenUp)
        return;
    throw CalvenorError(QStringLiteral("Extraction arrêtée par le signal %1 après la lecture de toutes les pistes : les "
                                       "fichiers sont complets et étiquetés, mais leur vérification auprès des bases "
                                       "AccurateRip et CTDB a été abandonnée.")
                            .arg(signal));
}
