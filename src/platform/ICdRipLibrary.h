#pragma once
#include "platform/CdRipTypes.h"
#include <QString>
#include <cstdint>

// The CD ripping library: drives, table of contents and jitter-corrected
// chunked reading. One instance lives for the whole run: it keeps the active
// drive across ripper components.
class ICdRipLibrary {
public:
    virtual ~ICdRipLibrary() = default;
    virtual int32_t CR_GetCDRipVersion() = 0;
    virtual int32_t CR_Init() = 0;
    virtual int32_t CR_GetCDROMParameters(TCDRomParams* params) = 0;
    virtual int32_t CR_SetCDROMParameters(const TCDRomParams* params) = 0;
    virtual int32_t CR_GetActiveCDROM() = 0;
    virtual int32_t CR_SetActiveCDROM(int32_t index) = 0;
    virtual int32_t CR_ReadToc() = 0;
    virtual int32_t CR_GetNumTocEntries() = 0;
    virtual TTocEntry CR_GetTocEntry(int32_t index) = 0;
    // Sets *bufferSize to the most bytes one CR_RipChunk delivers.
    virtual int32_t CR_OpenRipper(int32_t* bufferSize, int32_t firstSector, int32_t lastSector) = 0;
    virtual int32_t CR_RipChunk(uint8_t* buffer, int32_t* bytesRead) = 0;
    virtual void CR_GetLastJitterErrorPosition(uint32_t* start, uint32_t* end) = 0;
    virtual int32_t CR_GetPercentCompleted() = 0;
    virtual int32_t CR_GetNumberOfJitterErrors() = 0;
    virtual int32_t CR_CloseRipper() = 0;
    // What was read of the open range, or of the last one closed.
    virtual TReadReport CR_GetReadReport() = 0;
    // May be called from any thread: the chunk being read (or the next one)
    // ends at once, without the sector under way, and delivers what it has;
    // the next CR_OpenRipper forgets the request.
    virtual void CR_StopReading() {}
    // A source opened during the run (a disc image) becomes drive `index`;
    // the drives from there on move one up, the active one with them.
    virtual void CR_InsertCDROM(int32_t index, const QString& source) = 0;
};
