#pragma once
#include "platform/CdioRipLibrary.h"
#include "support/DriveFaults.h"
#include <memory>

// A drive whose chosen sectors cannot be read: the disc image is read through
// the real libcdio-paranoia, and every read of the drive that touches a
// failing sector fails whole, as on a scratched disc.
class FailingDrive : public CdioRipLibrary {
public:
    explicit FailingDrive(const QStringList& sources);

    // Sectors first..first + count - 1 (disc addresses) fail from now on.
    void FailSectors(int32_t first, int32_t count);
    DriveFaults& Faults() { return *m_faults; }

private:
    std::shared_ptr<DriveFaults> m_faults = std::make_shared<DriveFaults>();
};
