#include "rip/CtdbWindow.h"
#include <algorithm>

CtdbWindow::CtdbWindow(int64_t discSamples)
    : m_rows(static_cast<int>(std::max<int64_t>(0, 2 * discSamples / Stride - 2)))
{
}
