#pragma once
#include "platform/ICdRipLibrary.h"

// A CD ripping library that hands every call to another one; a wrapper
// overrides only the calls it changes.
class ForwardingCdRipLibrary : public ICdRipLibrary {
public:
    explicit ForwardingCdRipLibrary(ICdRipLibrary& inner) : m_inner(inner) {}

    int32_t CR_GetCDRipVersion() override { return m_inner.CR_GetCDRipVersion(); }
    int32_t CR_Init() override { return m_inner.CR_Init(); }
    int32_t CR_GetCDROMParameters(TCDRomParams* params) override { return m_inner.CR_GetCDROMParameters(params); }
    int32_t CR_SetCDROMParameters(const TCDRomParams* params) override { return m_inner.CR_SetCDROMParameters(params); }
    int32_t CR_GetActiveCDROM() override { return m_inner.CR_GetActiveCDROM(); }
    int32_t CR_SetActiveCDROM(int32_t index) override { return m_inner.CR_SetActiveCDROM(index); }
    int32_t CR_ReadToc() override { return m_inner.CR_ReadToc(); }
    int32_t CR_GetNumTocEntries() override { return m_inner.CR_GetNumTocEntries(); }
    TTocEntry CR_GetTocEntry(int32_t index) override { return m_inner.CR_GetTocEntry(index); }
    int32_t CR_OpenRipper(int32_t* bufferSize, int32_t firstSector, int32_t lastSector) override
    {
        return m_inner.CR_OpenRipper(bufferSize, firstSector, lastSector);
    }
    int32_t CR_RipChunk(uint8_t* buffer, int32_t* bytesRead) override { return m_inner.CR_RipChunk(buffer, bytesRead); }
    void CR_GetLastJitterErrorPosition(uint32_t* start, uint32_t* end) override
    {
        m_inner.CR_GetLastJitterErrorPosition(start, end);
    }
    int32_t CR_GetPercentCompleted() override { return m_inner.CR_GetPercentCompleted(); }
    int32_t CR_GetNumberOfJitterErrors() override { return m_inner.CR_GetNumberOfJitterErrors(); }
    int32_t CR_CloseRipper() override { return m_inner.CR_CloseRipper(); }
    TReadReport CR_GetReadReport() override { return m_inner.CR_GetReadReport(); }
    void CR_StopReading() override { m_inner.CR_StopReading(); }
    void CR_InsertCDROM(int32_t index, const QString& source) override { m_inner.CR_InsertCDROM(index, source); }

protected:
    ICdRipLibrary& m_inner;
};
