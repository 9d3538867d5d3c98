#pragma once
#include "platform/ICdRipLibrary.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <stdexcept>

// A scripted CD ripping library that records every call, e.g. "CR_GetTocEntry(2)".
class FakeCdRipLibrary : public ICdRipLibrary {
public:
    struct Chunk {
        int32_t result;
        QByteArray data;
        uint32_t jitterStart = 0, jitterEnd = 0;
    };

    int32_t CR_GetCDRipVersion() override { return record("CR_GetCDRipVersion", version); }
    int32_t CR_Init() override { return record("CR_Init", initResult); }
    int32_t CR_GetCDROMParameters(TCDRomParams* params) override
    {
        if (paramsResult != CR_FAILURE)
            *params = driveParams;
        return record("CR_GetCDROMParameters", paramsResult);
    }
    int32_t CR_SetCDROMParameters(const TCDRomParams* params) override
    {
        appliedParams = *params;
        return record("CR_SetCDROMParameters", setParamsResult);
    }
    int32_t CR_GetActiveCDROM() override { return record("CR_GetActiveCDROM", activeCdRom); }
    int32_t CR_SetActiveCDROM(int32_t index) override
    {
        if (setActiveResult != CR_FAILURE)
            activeCdRom = index;
        return record(QStringLiteral("CR_SetActiveCDROM(%1)").arg(index), setActiveResult);
    }
    void CR_InsertCDROM(int32_t index, const QString& source) override
    {
        record(QStringLiteral("CR_InsertCDROM(%1,%2)").arg(index).arg(source), 0);
    }
    int32_t CR_ReadToc() override { return record("CR_ReadToc", readTocResult); }
    int32_t CR_GetNumTocEntries() override { return record("CR_GetNumTocEntries", int32_t(toc.size()) - 1); }
    TTocEntry CR_GetTocEntry(int32_t index) override
    {
        record(QStringLiteral("CR_GetTocEntry(%1)").arg(index), 0);
        return index >= 0 && index < toc.size() ? toc.at(index) : TTocEntry{};
    }
    int32_t CR_OpenRipper(int32_t* bufferSize, int32_t first, int32_t last) override
    {
        *bufferSize = chunkBufferSize;
        nextChunk = 0;
        return record(QStringLiteral("CR_OpenRipper(%1,%2)").arg(first).arg(last), openResult);
    }
    int32_t CR_RipChunk(uint8_t* buffer, int32_t* bytesRead) override
    {
        if (nextChunk >= chunks.size())
            throw std::logic_error("CR_RipChunk called after the last chunk");
        const Chunk& c = chunks.at(nextChunk++);
        std::copy(c.data.begin(), c.data.end(), buffer);
        *bytesRead = int32_t(c.data.size());
        lastJitterStart = c.jitterStart;
        lastJitterEnd = c.jitterEnd;
        return record("CR_RipChunk", c.result);
    }
    void CR_GetLastJitterErrorPosition(uint32_t* start, uint32_t* end) override
    {
        record("CR_GetLastJitterErrorPosition", 0);
        *start = lastJitterStart;
        *end = lastJitterEnd;
    }
    int32_t CR_GetPercentCompleted() override
    {
        return record("CR_GetPercentCompleted", chunks.isEmpty() ? 0 : int32_t(100 * nextChunk / chunks.size()));
    }
    int32_t CR_GetNumberOfJitterErrors() override { return record("CR_GetNumberOfJitterErrors", jitterErrors); }
    int32_t CR_CloseRipper() override { return record("CR_CloseRipper", 0); }
    // Not recorded: the call lists of the tests stay those of the original library.
    TReadReport CR_GetReadReport() override { return readReport; }

    // An audio entry per start sector, then the lead-out.
    void SetAudioToc(const QList<uint32_t>& starts, uint32_t leadOut)
    {
        toc.clear();
        for (uint32_t s : starts)
            toc.append({s, TOC_FLAG_AUDIO, uint8_t(toc.size() + 1), 0});
        toc.append({leadOut, TOC_FLAG_DATA, 0xAA, 0});
    }
    int count(const QString& call) const { return calls.filter(call).size(); }

    QStringList calls;
    QString throwOn; // a call name that raises instead of answering
    int32_t version = 111, initResult = 0, paramsResult = 0, setParamsResult = 0;
    int32_t activeCdRom = 0, setActiveResult = 0, readTocResult = 0, openResult = 0;
    int32_t chunkBufferSize = 8;
    int32_t jitterErrors = 0;
    TReadReport readReport{{}, 0, true};
    TCDRomParams driveParams, appliedParams;
    QList<TTocEntry> toc;
    QList<Chunk> chunks;
    int nextChunk = 0;
    uint32_t lastJitterStart = 0, lastJitterEnd = 0;

private:
    int32_t record(const QString& call, int32_t result)
    {
        calls << call;
        if (!throwOn.isEmpty() && call.startsWith(throwOn))
            throw std::runtime_error(("library failure in " + call).toStdString());
        return result;
    }
};
