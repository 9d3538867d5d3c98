#include "platform/Ebur128Meter.h"
#include "platform/CalvenorError.h"
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <ebur128.h>

namespace {
constexpr unsigned Channels = 2;
constexpr unsigned long SampleRate = 44100;
constexpr int FrameBytes = 4;
} // namespace

struct Ebur128Meter::State {
    ebur128_state* state = ebur128_init(Channels, SampleRate, EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK);
    State() = default;
    ~State()
    {
        if (state)
            ebur128_destroy(&state);
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;
};

Ebur128Meter::Ebur128Meter() : m_state(std::make_unique<State>())
{
    if (!m_state->state)
        throw CalvenorError(QStringLiteral("La mesure du volume sonore (ReplayGain) n'a pas pu commencer : "
                                           "mémoire insuffisante."));
}

Ebur128Meter::~Ebur128Meter() = default;

void Ebur128Meter::Add(const uint8_t* pcm, int64_t bytes)
{
    if (m_partialBytes > 0 && bytes > 0) {
        const int taken = static_cast<int>(std::min<int64_t>(FrameBytes - m_partialBytes, bytes));
        std::memcpy(m_partial + m_partialBytes, pcm, size_t(taken));
        m_partialBytes += taken;
        pcm += taken;
        bytes -= taken;
        if (m_partialBytes < FrameBytes)
            return;
        addFrames(m_partial, 1);
        m_partialBytes = 0;
    }
    const int64_t frames = bytes / FrameBytes;
    addFrames(pcm, frames);
    m_partialBytes = static_cast<int>(bytes - frames * FrameBytes);
    std::memcpy(m_partial, pcm + frames * FrameBytes, size_t(m_partialBytes));
}

void Ebur128Meter::addFrames(const uint8_t* pcm, int64_t frames)
{
    if (frames <= 0)
        return;
    // The samples in the machine's order, aligned as libebur128 reads them.
    m_samples.resize(size_t(frames) * Channels);
    qFromLittleEndian<int16_t>(pcm, qsizetype(m_samples.size()), m_samples.data());
    if (ebur128_add_frames_short(m_state->state, m_samples.data(), size_t(frames)) != EBUR128_SUCCESS)
        throw CalvenorError(QStringLiteral("La mesure du volume sonore (ReplayGain) a échoué : mémoire insuffisante."));
}

double Ebur128Meter::Loudness() const
{
    double lufs = -HUGE_VAL;
    ebur128_loudness_global(m_state->state, &lufs);
    return lufs;
}

double Ebur128Meter::Peak() const
{
    double peak = 0;
    for (unsigned channel = 0; channel < Channels; ++channel) {
        double value = 0;
        if (ebur128_sample_peak(m_state->state, channel, &value) == EBUR128_SUCCESS)
            peak = std::max(peak, value);
    }
    return peak;
}

double Ebur128Meter::Loudness(const std::vector<const Ebur128Meter*>& meters)
{
    std::vector<ebur128_state*> states;
    for (const Ebur128Meter* meter : meters)
        states.push_back(meter->m_state->state);
    double lufs = -HUGE_VAL;
    if (!states.empty())
        ebur128_loudness_global_multiple(states.data(), states.size(), &lufs);
    return lufs;
}
