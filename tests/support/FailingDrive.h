#pragma once
#include "platform/CdioRipLibrary.h"
#include <set>

// A drive whose chosen sectors cannot be read: the disc image is read through
// the real libcdio-paranoia, then each failed sector is delivered as silence
// and reported unread, as paranoia does when it gives up on a sector.
// CD audio (STEREO44100) only.
class FailingDrive : public CdioRipLibrary {
public:
    using CdioRipLibrary::CdioRipLibrary;

    // Sectors first..first + count - 1 (disc addresses) fail from now on.
    void FailSectors(int32_t first, int32_t count);

    int32_t CR_OpenRipper(int32_t* bufferSize, int32_t first, int32_t last) override;
    int32_t CR_RipChunk(uint8_t* buffer, int32_t* bytesRead) override;
    TReadReport CR_GetReadReport() override;

private:
    std::set<int32_t> m_failing;
    int32_t m_first = 0;
    int32_t m_last = -1;
    int32_t m_next = 0; // the sector the next chunk starts with
};
