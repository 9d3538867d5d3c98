#pragma once
#include "encode/TpdfDither.h"
#include "platform/IPcmSource.h"
#include <memory>

class SoxrResampler;

// A source made fit for the MP3 encoder: 16-bit samples at a rate LAME
// takes. Another rate is resampled (libsoxr) to the nearest LAME rate at
// or above it (48000 Hz above that); deeper samples are reduced with
// dither, shallower ones widened. A 16-bit source at a LAME rate passes
// unchanged.
class LamePcm : public IPcmSource {
public:
    explicit LamePcm(IPcmSource& source);
    ~LamePcm() override;
    LamePcm(const LamePcm&) = delete;
    LamePcm& operator=(const LamePcm&) = delete;

    static int RateFor(int sourceRate);

    int Channels() const override { return m_source.Channels(); }
    int SampleRate() const override { return m_rate; }
    int BitsPerSample() const override { return Bits; }
    uint64_t Frames() const override;
    bool Read(std::vector<int32_t>& samples) override;
    double Fraction() const override { return m_source.Fraction(); }

private:
    static constexpr int Bits = 16;
    void reduce(const std::vector<int32_t>& in, std::vector<int32_t>& out);
    bool readResampled(std::vector<int32_t>& out);

    IPcmSource& m_source;
    int m_rate;
    std::unique_ptr<SoxrResampler> m_resampler;
    TpdfDither m_dither;
    bool m_flushed = false;
};
