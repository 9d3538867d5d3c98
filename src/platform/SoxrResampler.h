#pragma once
#include <memory>
#include <vector>

struct soxr;

// libsoxr at its high quality, interleaved float samples in and out.
class SoxrResampler {
public:
    // Raises CalvenorError with a French text when libsoxr refuses the rates.
    SoxrResampler(int fromRate, int toRate, int channels);
    ~SoxrResampler();
    SoxrResampler(const SoxrResampler&) = delete;
    SoxrResampler& operator=(const SoxrResampler&) = delete;

    // Appends to out what the input gives so far.
    void Process(const std::vector<float>& in, std::vector<float>& out);
    // Appends the rest, once the input is over.
    void Flush(std::vector<float>& out);

private:
    void run(const float* in, size_t frames, std::vector<float>& out);

    std::unique_ptr<soxr, void (*)(soxr*)> m_soxr;
    int m_channels;
    double m_ratio;
};
