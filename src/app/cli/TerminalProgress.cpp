#include "app/cli/TerminalProgress.h"

void TerminalProgress::ReadProgress(int percent)
{
    if (percent == m_lastPercent)
        return;
    m_lastPercent = percent;
    m_err << "\rAvancement : " << percent << " %";
    m_err.flush();
}
