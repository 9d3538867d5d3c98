#pragma once
#include "platform/IAudioReadFilter.h"
#include "platform/ICdRipLibrary.h"
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <vector>

class ParanoiaRange;

// The CD ripping library over libcdio and libcdio-paranoia. Drive i is the
// i-th source given (a device or a disc image); drive 0 is active at start and
// stays active until changed, for the whole run.
//
// A range is read in chunks of ChunkSectors sectors converted to the output
// format of the record held when the ripper was opened. CR_RipChunk answers 4
// with the last chunk of the range (even when it had a jitter error, which
// then only counts), 3 with a chunk during which paranoia fixed jitter or
// gave up on a sector, 0 otherwise, and 1 when nothing is left to deliver.
// CR_GetLastJitterErrorPosition gives the first and the last position
// reported during the last chunk that had a jitter error: byte offsets of CD
// audio (2352 bytes a sector) from the start of the range, whatever the output
// format. CR_GetNumberOfJitterErrors counts jitter fixups plus unreadable
// sectors; UnreadableSectors counts the latter alone.
class CdioRipLibrary : public ICdRipLibrary {
public:
    static constexpr int ChunkSectors = 26;
    // libcdio-paranoia's simulated read faults (its CDDA_TEST_... flags).
    static constexpr int SimulatedSmallJitter = 1;
    static constexpr int SimulatedUnderrun = 64;

    explicit CdioRipLibrary(const QStringList& sources);
    ~CdioRipLibrary() override;

    int32_t CR_GetCDRipVersion() override;
    int32_t CR_Init() override;
    int32_t CR_GetCDROMParameters(TCDRomParams* params) override;
    int32_t CR_SetCDROMParameters(const TCDRomParams* params) override;
    int32_t CR_GetActiveCDROM() override { return m_active; }
    int32_t CR_SetActiveCDROM(int32_t index) override;
    int32_t CR_ReadToc() override;
    int32_t CR_GetNumTocEntries() override;
    TTocEntry CR_GetTocEntry(int32_t index) override;
    int32_t CR_OpenRipper(int32_t* bufferSize, int32_t firstSector, int32_t lastSector) override;
    int32_t CR_RipChunk(uint8_t* buffer, int32_t* bytesRead) override;
    void CR_GetLastJitterErrorPosition(uint32_t* start, uint32_t* end) override;
    int32_t CR_GetPercentCompleted() override;
    int32_t CR_GetNumberOfJitterErrors() override;
    int32_t CR_CloseRipper() override;
    TReadReport CR_GetReadReport() override;
    void CR_StopReading() override { m_stopReading = true; }
    void CR_InsertCDROM(int32_t index, const QString& source) override;

    // How a drive is read, in French, for the rip log.
    static QString ModeText(bool jitterCorrection);
    // Unreadable sectors of the open rip, or of the last one.
    int32_t UnreadableSectors() const;
    // The French text of the last failure of CR_ReadToc or CR_OpenRipper.
    const QString& LastError() const { return m_lastError; }
    // Simulated read faults (Simulated... flags) for the rips opened from
    // now on; 0 for none.
    void SetSimulatedReadFaults(int cddaTestFlags) { m_testFlags = cddaTestFlags; }
    // A filter between paranoia and the drive for the rips opened from now
    // on (a damaged disc in the tests); none by default.
    void SetReadFilter(std::shared_ptr<IAudioReadFilter> filter) { m_readFilter = std::move(filter); }

private:
    static TCDRomParams defaultParameters();
    bool hasDrive() const { return m_active >= 0 && m_active < m_sources.size(); }
    TOutputFormat outputFormat() const;
    bool jitterCorrection() const;

    QStringList m_sources;
    std::vector<TCDRomParams> m_params;
    int32_t m_active = 0;
    std::vector<TTocEntry> m_toc;
    std::unique_ptr<ParanoiaRange> m_range;
    TOutputFormat m_ripFormat = STEREO44100;
    uint32_t m_jitterStart = 0;
    uint32_t m_jitterEnd = 0;
    int32_t m_closedJitterErrors = 0;
    TReadReport m_closedReport;
    int m_testFlags = 0;
    std::shared_ptr<IAudioReadFilter> m_readFilter;
    std::atomic<bool> m_stopReading{false};
    QString m_lastError;
};
