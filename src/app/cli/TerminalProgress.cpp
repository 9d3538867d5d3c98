#include "app/cli/TerminalProgress.h"
#include "platform/StopSignals.h"
#include <utility>

TerminalProgress::TerminalProgress(QTextStream& err, std::function<void()> stop, bool namesTracks)
    : m_err(err), m_stop(std::move(stop)), m_namesTracks(namesTracks)
{
}

void TerminalProgress::TrackBegins(int, const QString& path)
{
    m_lastPercent = -1;
    if (m_namesTracks)
        m_err << "\n" << path << '\n';
}

void TerminalProgress::ReadProgress(int percent)
{
    if (percent == m_lastPercent)
        return;
    m_lastPercent = percent;
    m_err << "\rAvancement : " << percent << " %";
    m_err.flush();
}

void TerminalProgress::Breathe()
{
    // Also catches a signal that came before the read began.
    if (m_stop && StopSignals::Received())
        m_stop();
}
