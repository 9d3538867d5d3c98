#pragma once
#include "platform/CdioRipLibrary.h"
#include <set>

// A drive whose chosen sectors cannot be read: the disc image is read through
// the real libcdio-paranoia, then each failed sector is delivered as silence
// and reported unread, as paranoia does when it gives up on a sector.
// CD audio (STEREO44100) only.
class FailingDrive : public ICdRipLibrary {
public:
    explicit FailingDrive(const QStringList& sources) : m_inner(sources) {}

    // Sectors first..first + count - 1 (disc addresses) fail from now on.
    void FailSectors(int32_t first, int32_t count);

    int32_t CR_GetCDRipVersion() override { return m_inner.CR_GetCDRipVersion(); }
    int32_t CR_Init() override { return m_inner.CR_Init(); }
    int32_t CR_GetCDROMParameters(TCDRomParams* p) override { return m_inner.CR_GetCDROMParameters(p); }
    int32_t CR_SetCDROMParameters(const TCDRomParams* p) override { return m_inner.CR_SetCDROMParameters(p); }
    int32_t CR_GetActiveCDROM() override { return m_inner.CR_GetActiveCDROM(); }
    int32_t CR_SetActiveCDROM(int32_t index) override { return m_inner.CR_SetActiveCDROM(index); }
    int32_t CR_ReadToc() override { return m_inner.CR_ReadToc(); }
    int32_t CR_GetNumTocEntries() override { return m_inner.CR_GetNumTocEntries(); }
    TTocEntry CR_GetTocEntry(int32_t index) override { return m_inner.CR_GetTocEntry(index); }
    void CR_GetLastJitterErrorPosition(uint32_t* a, uint32_t* b) override { m_inner.CR_GetLastJitterErrorPosition(a, b); }
    int32_t CR_GetPercentCompleted() override { return m_inner.CR_GetPercentCompleted(); }
    int32_t CR_GetNumberOfJitterErrors() override { return m_inner.CR_GetNumberOfJitterErrors(); }
    int32_t CR_CloseRipper() override { return m_inner.CR_CloseRipper(); }
    int32_t CR_OpenRipper(int32_t* bufferSize, int32_t first, int32_t last) override;
    int32_t CR_RipChunk(uint8_t* buffer, int32_t* bytesRead) override;
    TReadReport CR_GetReadReport() override;

private:
    CdioRipLibrary m_inner;
    std::set<int32_t> m_failing;
    int32_t m_first = 0;
    int32_t m_last = -1;
    int32_t m_next = 0; // the sector the next chunk starts with
};
