#include "rip/CtdbDiscRepair.h"
#include "platform/Crc32.h"
#include "rip/CtdbParityFetch.h"
#include "rip/CtdbShiftedCrc.h"
#include "rip/CtdbSyndromes.h"
#include "rip/CtdbWindow.h"
#include "rip/DiscTrackFiles.h"
#include "rip/RepairedTrackWriter.h"
#include "rip/TrackSums.h"
#include <algorithm>

CtdbDiscRepair::CtdbDiscRepair(IHttpClient& http, const DiscTrackFiles& files, int npar,
                               const std::atomic<bool>* cancel, int threads)
    : m_http(http), m_files(files), m_npar(npar), m_cancel(cancel), m_threads(threads)
{
}

CtdbDiscRepair::~CtdbDiscRepair() = default;

void CtdbDiscRepair::readRip()
{
    if (m_syndromes)
        return;
    auto syndromes = std::make_unique<CtdbSyndromes>(m_files.Samples(), m_npar, m_threads);
    auto crcs = std::make_unique<CtdbShiftedCrc>(m_files.Samples());
    m_files.Read(
        [&](int64_t at, const uint8_t* pcm, int64_t bytes) {
            syndromes->Add(pcm, bytes);
            crcs->Add(at, pcm, bytes);
        },
        m_cancel);
    m_shiftedCrcs = crcs->Crcs();
    m_syndromes = std::move(syndromes);
}

// The rows are fetched in steps: a rip that a few rows mend needs no more,
// and a step whose corrections miss the entry's CRC leaves it to the next.
CtdbDiscRepair::Result CtdbDiscRepair::Run(const CtdbDatabase::Entry& entry, const Written& written)
{
    readRip();
    CtdbParityFetch fetch(m_http, entry, m_cancel);
    Result result;
    for (const int npar : CtdbParityFetch::Steps(std::min(entry.Npar, m_npar))) {
        const CtdbRepair::Plan found = CtdbRepair::Find(*m_syndromes, fetch.Rows(npar), m_threads);
        result = resultOf(found, npar);
        if (result.Kind == Outcome::Repaired && (m_shiftedCrcs.empty() || mendedCrc(found) != entry.Crc))
            result.Kind = Outcome::CrcDiffers;
        if (result.Kind == Outcome::Repaired)
            write(found, result, written);
        if (result.Kind == Outcome::Repaired || result.Kind == Outcome::Unchanged)
            break;
    }
    return result;
}

CtdbDiscRepair::Result CtdbDiscRepair::resultOf(const CtdbRepair::Plan& plan, int npar) const
{
    Result result;
    result.Kind = plan.Kind == CtdbRepair::Outcome::Clean        ? Outcome::Unchanged
                  : plan.Kind == CtdbRepair::Outcome::TooDamaged ? Outcome::TooDamaged
                  : plan.Kind == CtdbRepair::Outcome::NoOffset   ? Outcome::NoOffset
                                                                 : Outcome::Repaired;
    const CtdbWindow& window = m_syndromes->Window();
    result.Npar = npar;
    result.Shift = -plan.Offset;
    result.Samples = plan.Samples();
    result.WindowFirst = window.FirstByte(plan.Offset);
    result.WindowEnd = window.EndByte(plan.Offset);
    return result;
}

uint32_t CtdbDiscRepair::mendedCrc(const CtdbRepair::Plan& plan) const
{
    const CtdbWindow& window = m_syndromes->Window();
    const int64_t end = window.EndByte(plan.Offset);
    uint32_t crc = m_shiftedCrcs.at(static_cast<size_t>(CtdbShiftedCrc::Range - plan.Offset));
    for (const CtdbRepair::Correction& c : plan.Corrections) {
        const uint8_t mask[2] = {static_cast<uint8_t>(c.Mask & 0xFF), static_cast<uint8_t>(c.Mask >> 8)};
        crc ^= Crc32::Change(mask, 2, end - 2 * c.Word - 2);
    }
    return crc;
}

void CtdbDiscRepair::write(const CtdbRepair::Plan& plan, Result& result, const Written& written) const
{
    const int tracks = static_cast<int>(m_files.Tracks().size());
    for (int k = 0; k < tracks; ++k) {
        std::vector<CtdbRepair::Correction> mine;
        for (const CtdbRepair::Correction& c : plan.Corrections)
            if (2 * c.Word >= m_files.Start(k) && 2 * c.Word < m_files.Start(k + 1))
                mine.push_back(c);
        CtdbRepair::Plan part;
        part.Corrections = mine;
        result.TrackSamples << part.Samples();
        if (mine.empty())
            continue;
        TrackSums sums(m_files.Tracks().at(k).Bytes, k == 0, k == tracks - 1, false);
        RepairedTrackWriter::Write(m_files.Tracks().at(k).Path, m_files.Start(k), mine, sums, m_cancel);
        written(k, sums);
    }
}
