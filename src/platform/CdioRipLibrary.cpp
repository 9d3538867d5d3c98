#include "platform/CdioRipLibrary.h"
#include "platform/CalvenorError.h"
#include "platform/CdioDisc.h"
#include "platform/CdioLog.h"
#include "platform/ParanoiaRange.h"
#include "platform/PcmFormatConverter.h"
#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/version.h>

namespace {
constexpr int32_t True32 = -1;
constexpr int32_t FirstFormat = STEREO44100;
constexpr int32_t LastFormat = MONO11025;
static_assert(CdioRipLibrary::SimulatedSmallJitter == CDDA_TEST_JITTER_SMALL);
static_assert(CdioRipLibrary::SimulatedUnderrun == CDDA_TEST_UNDERRUN);
} // namespace

CdioRipLibrary::CdioRipLibrary(const QStringList& sources)
    : m_sources(sources), m_params(static_cast<size_t>(sources.size()), defaultParameters())
{
    CdioLog::Silence();
}

CdioRipLibrary::~CdioRipLibrary() = default;

TCDRomParams CdioRipLibrary::defaultParameters()
{
    TCDRomParams p;
    p.set32(TCDRomParams::SpeedOffset, 0);
    p.set32(TCDRomParams::JitterCorrectionOffset, True32);
    const int32_t driveTable[TCDRomParams::DriveTableValues] = {GENERIC, READMMC, SPEEDMMC, LITTLEENDIAN,
                                                                 ENABLENONE, 0, True32};
    for (int i = 0; i < TCDRomParams::DriveTableValues; ++i)
        p.set32(TCDRomParams::DriveTableOffset + 4 * i, driveTable[i]);
    p.set32(TCDRomParams::OutputFormatOffset, STEREO44100);
    return p;
}

int32_t CdioRipLibrary::CR_GetCDRipVersion()
{
    return LIBCDIO_VERSION_NUM;
}

int32_t CdioRipLibrary::CR_Init()
{
    return m_sources.isEmpty() ? CR_FAILURE : CR_OK;
}

int32_t CdioRipLibrary::CR_GetCDROMParameters(TCDRomParams* params)
{
    if (!params || !hasDrive())
        return CR_FAILURE;
    *params = m_params[static_cast<size_t>(m_active)];
    return CR_OK;
}

int32_t CdioRipLibrary::CR_SetCDROMParameters(const TCDRomParams* params)
{
    if (!params || !hasDrive())
        return CR_FAILURE;
    const int32_t format = params->get32(TCDRomParams::OutputFormatOffset);
    if (format < FirstFormat || format > LastFormat)
        return CR_FAILURE;
    m_params[static_cast<size_t>(m_active)] = *params;
    return CR_OK;
}

void CdioRipLibrary::CR_InsertCDROM(int32_t index, const QString& source)
{
    index = qBound(0, index, int32_t(m_sources.size()));
    m_sources.insert(index, source);
    m_params.insert(m_params.begin() + index, defaultParameters());
    if (m_active >= index && m_sources.size() > 1)
        ++m_active;
}

int32_t CdioRipLibrary::CR_SetActiveCDROM(int32_t index)
{
    if (index < 0 || index >= m_sources.size())
        return CR_FAILURE;
    CR_CloseRipper();
    m_active = index;
    m_toc.clear();
    return CR_OK;
}

int32_t CdioRipLibrary::CR_ReadToc()
{
    m_toc.clear();
    if (!hasDrive())
        return CR_FAILURE;
    try {
        m_toc = CdioDisc(m_sources.at(m_active)).Toc();
    } catch (const CalvenorError& e) {
        m_lastError = e.message();
        return CR_FAILURE;
    }
    return CR_OK;
}

int32_t CdioRipLibrary::CR_GetNumTocEntries()
{
    return m_toc.empty() ? 0 : static_cast<int32_t>(m_toc.size()) - 1;
}

TTocEntry CdioRipLibrary::CR_GetTocEntry(int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_toc.size())
        return TTocEntry{};
    return m_toc[static_cast<size_t>(index)];
}

TOutputFormat CdioRipLibrary::outputFormat() const
{
    return static_cast<TOutputFormat>(m_params[static_cast<size_t>(m_active)].get32(TCDRomParams::OutputFormatOffset));
}

bool CdioRipLibrary::jitterCorrection() const
{
    return m_params[static_cast<size_t>(m_active)].get32(TCDRomParams::JitterCorrectionOffset) != 0;
}

QString CdioRipLibrary::ModeText(bool jitterCorrection)
{
    if (!jitterCorrection)
        return QStringLiteral("sans vérification ni correction de gigue");
    return QStringLiteral("complet (vérification et correction de gigue), %1 lectures au plus par secteur illisible")
        .arg(ParanoiaRange::MaxRetries);
}

int32_t CdioRipLibrary::CR_OpenRipper(int32_t* bufferSize, int32_t firstSector, int32_t lastSector)
{
    CR_CloseRipper();
    m_closedReport = TReadReport{};
    m_stopReading = false;
    if (!bufferSize || !hasDrive())
        return CR_FAILURE;
    *bufferSize = 0;
    try {
        m_range = std::make_unique<ParanoiaRange>(m_sources.at(m_active), firstSector, lastSector,
                                                  jitterCorrection(), m_stopReading, m_testFlags, m_readFilter);
    } catch (const CalvenorError& e) {
        m_lastError = e.message();
        return CR_FAILURE;
    }
    m_ripFormat = outputFormat();
    m_jitterStart = m_jitterEnd = 0;
    *bufferSize = ChunkSectors * PcmFormatConverter::BytesPerSector(m_ripFormat);
    return CR_OK;
}

int32_t CdioRipLibrary::CR_RipChunk(uint8_t* buffer, int32_t* bytesRead)
{
    if (bytesRead)
        *bytesRead = 0;
    if (!buffer || !bytesRead || !m_range || m_range->AtEnd())
        return CR_FAILURE;
    uint8_t* out = buffer;
    // A stop request ends this chunk only, even in the middle of a sector:
    // the caller decides what comes next.
    for (int i = 0; i < ChunkSectors && !m_range->AtEnd() && !m_stopReading.exchange(false); ++i) {
        const int16_t* sector = m_range->ReadNextSector();
        if (!sector) {
            m_stopReading = false;
            break;
        }
        out += PcmFormatConverter::ConvertSector(sector, m_ripFormat, out);
    }
    *bytesRead = static_cast<int32_t>(out - buffer);

    const ParanoiaRange::Span span = m_range->TakeEventSpan();
    if (span.any) {
        m_jitterStart = span.first;
        m_jitterEnd = span.last;
    }
    if (m_range->AtEnd())
        return CR_RANGE_DONE;
    return span.any ? CR_JITTER_ERROR : CR_OK;
}

void CdioRipLibrary::CR_GetLastJitterErrorPosition(uint32_t* start, uint32_t* end)
{
    if (start)
        *start = m_jitterStart;
    if (end)
        *end = m_jitterEnd;
}

int32_t CdioRipLibrary::CR_GetPercentCompleted()
{
    if (!m_range)
        return 0;
    return static_cast<int32_t>(int64_t(m_range->SectorsRead()) * 100 / m_range->SectorCount());
}

int32_t CdioRipLibrary::CR_GetNumberOfJitterErrors()
{
    return m_range ? m_range->JitterErrors() : m_closedJitterErrors;
}

int32_t CdioRipLibrary::UnreadableSectors() const
{
    return m_range ? m_range->UnreadableSectors() : static_cast<int32_t>(m_closedReport.UnreadSectors.size());
}

TReadReport CdioRipLibrary::CR_GetReadReport()
{
    if (!m_range)
        return m_closedReport;
    TReadReport report;
    report.UnreadSectors = m_range->UnreadSectors();
    report.JitterCorrections = m_range->JitterCorrections();
    report.RangeFinished = m_range->AtEnd();
    return report;
}

int32_t CdioRipLibrary::CR_CloseRipper()
{
    if (m_range) {
        m_closedJitterErrors = m_range->JitterErrors();
        m_closedReport = CR_GetReadReport();
        m_range.reset();
    }
    return CR_OK;
}
