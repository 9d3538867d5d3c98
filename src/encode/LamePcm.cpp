#include "encode/LamePcm.h"
#include "platform/IEncoderLibrary.h"
#include "platform/SoxrResampler.h"
#include <cmath>
#include <iterator>

LamePcm::LamePcm(IPcmSource& source) : m_source(source), m_rate(RateFor(source.SampleRate()))
{
    if (m_rate != source.SampleRate())
        m_resampler = std::make_unique<SoxrResampler>(source.SampleRate(), m_rate, source.Channels());
}

LamePcm::~LamePcm() = default;

int LamePcm::RateFor(int sourceRate)
{
    for (const uint32_t rate : BeConfig::SampleRates)
        if (int(rate) >= sourceRate)
            return int(rate);
    return int(*std::prev(std::end(BeConfig::SampleRates)));
}

uint64_t LamePcm::Frames() const
{
    return uint64_t(std::llround(double(m_source.Frames()) * m_rate / m_source.SampleRate()));
}

bool LamePcm::Read(std::vector<int32_t>& samples)
{
    if (m_resampler)
        return readResampled(samples);
    std::vector<int32_t> in;
    if (!m_source.Read(in))
        return false;
    reduce(in, samples);
    return true;
}

// Exact when the source is 16 bits or fewer; dithered below its last bits otherwise.
void LamePcm::reduce(const std::vector<int32_t>& in, std::vector<int32_t>& out)
{
    const int bits = m_source.BitsPerSample();
    out.reserve(out.size() + in.size());
    if (bits <= Bits) {
        for (const int32_t sample : in)
            out.push_back(int32_t(uint32_t(sample) << (Bits - bits)));
        return;
    }
    const double step = std::ldexp(1.0, bits - Bits);
    for (const int32_t sample : in)
        out.push_back(m_dither.Reduce(double(sample) / step));
}

bool LamePcm::readResampled(std::vector<int32_t>& out)
{
    const double scale = std::ldexp(1.0, Bits - m_source.BitsPerSample());
    std::vector<float> resampled;
    while (resampled.empty() && !m_flushed) {
        std::vector<int32_t> in;
        if (!m_source.Read(in)) {
            m_resampler->Flush(resampled);
            m_flushed = true;
            break;
        }
        // Floats in 16-bit steps: the resampler is linear, the scale is kept.
        std::vector<float> floats(in.size());
        for (size_t i = 0; i < in.size(); ++i)
            floats[i] = float(double(in[i]) * scale);
        m_resampler->Process(floats, resampled);
    }
    out.reserve(out.size() + resampled.size());
    for (const float sample : resampled)
        out.push_back(m_dither.Reduce(sample));
    return !resampled.empty();
}
