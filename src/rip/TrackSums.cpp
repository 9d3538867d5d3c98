#include "rip/TrackSums.h"
#include "platform/Ebur128Meter.h"
#include "rip/BackgroundMeter.h"
#include "rip/AccurateRipChecksums.h"
#include "rip/CtdbCrc.h"
#include "rip/TrackRipResult.h"

TrackSums::TrackSums() = default;

TrackSums::TrackSums(int64_t trackBytes, bool first, bool last, bool measureLoudness)
    : m_cd(std::make_unique<AccurateRipChecksums>(first, last)),
      m_ctdb(std::make_unique<CtdbCrc>(trackBytes, first, last)),
      m_loudness(measureLoudness ? std::make_unique<BackgroundMeter>() : nullptr)
{
}

TrackSums::~TrackSums() = default;
TrackSums::TrackSums(TrackSums&&) noexcept = default;
TrackSums& TrackSums::operator=(TrackSums&&) noexcept = default;

void TrackSums::Add(const uint8_t* pcm, int64_t bytes)
{
    if (!m_cd) {
        m_other.Add(pcm, bytes);
        return;
    }
    m_cd->Add(pcm, bytes);
    m_ctdb->Add(pcm, bytes);
    if (m_loudness)
        m_loudness->Add(pcm, bytes);
}

void TrackSums::Into(TrackRipResult& result)
{
    if (!m_cd) {
        result.Crc = m_other.Value();
        return;
    }
    result.Crc = m_cd->Crc();
    result.HasChecksums = true;
    result.V1 = m_cd->V1();
    result.V2 = m_cd->V2();
    result.CtdbCrcs = m_ctdb->Value();
    if (m_loudness)
        result.Loudness = m_loudness->Finish();
}
