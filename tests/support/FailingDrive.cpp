#include "support/FailingDrive.h"

FailingDrive::FailingDrive(const QStringList& sources) : CdioRipLibrary(sources)
{
    SetReadFilter(m_faults);
}

void FailingDrive::FailSectors(int32_t first, int32_t count)
{
    m_faults->Add(DriveFaults::Kind::FailRead, first, count);
}
