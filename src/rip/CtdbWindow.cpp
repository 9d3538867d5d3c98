#include "rip/CtdbWindow.h"
#include <algorithm>

namespace {
int rowsOf(int64_t discSamples)
{
    const int64_t bytes = 4 * discSamples;
    const auto remainder = static_cast<int>(bytes / CtdbWindow::SectorBytes % CtdbWindow::RowSectors);
    return static_cast<int>(std::max<int64_t>(0, (bytes - CtdbWindow::BytesAfter(remainder)) / CtdbWindow::RowBytes - 1));
}
} // namespace

// The codewords run from the window's first byte to where BytesAfter
// leaves off.
CtdbWindow::CtdbWindow(int64_t discSamples) : m_rows(rowsOf(discSamples)) {}
