#include "platform/SoxrResampler.h"
#include "platform/CalvenorError.h"
#include <QString>
#include <cmath>
#include <soxr.h>

namespace {
// Output room beyond the rate ratio: the filter's delay comes out at the end.
constexpr size_t SpareFrames = 1024;
} // namespace

SoxrResampler::SoxrResampler(int fromRate, int toRate, int channels)
    : m_soxr(nullptr, soxr_delete), m_channels(channels), m_ratio(double(toRate) / double(fromRate))
{
    soxr_error_t error = nullptr;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    m_soxr.reset(soxr_create(fromRate, toRate, unsigned(channels), &error, nullptr, &quality, nullptr));
    if (!m_soxr || error)
        throw CalvenorError(QStringLiteral("Le rééchantillonnage de %1 Hz à %2 Hz est impossible (%3).")
                                .arg(fromRate)
                                .arg(toRate)
                                .arg(QString::fromLatin1(error ? error : "libsoxr")));
}

SoxrResampler::~SoxrResampler() = default;

void SoxrResampler::Process(const std::vector<float>& in, std::vector<float>& out)
{
    // An empty vector's data may be null, which would end the input.
    if (in.empty())
        return;
    run(in.data(), in.size() / size_t(m_channels), out);
}

void SoxrResampler::Flush(std::vector<float>& out)
{
    run(nullptr, 0, out);
}

// A null input tells libsoxr the input is over: it gives what it holds
// until it has nothing left.
void SoxrResampler::run(const float* in, size_t frames, std::vector<float>& out)
{
    const auto channels = size_t(m_channels);
    const size_t room = size_t(std::ceil(double(frames) * m_ratio)) + SpareFrames;
    size_t taken = 0;
    for (;;) {
        const size_t at = out.size();
        out.resize(at + room * channels);
        size_t used = 0, given = 0;
        const soxr_error_t error = soxr_process(m_soxr.get(), in ? in + taken * channels : nullptr, frames - taken,
                                                &used, out.data() + at, room, &given);
        out.resize(at + given * channels);
        if (error)
            throw CalvenorError(
                QStringLiteral("Le rééchantillonnage a échoué (%1).").arg(QString::fromLatin1(error)));
        taken += used;
        if (in ? taken >= frames : given == 0)
            return;
    }
}
