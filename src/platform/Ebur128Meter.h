#pragma once
#include <cstdint>
#include <memory>
#include <vector>

// The loudness of CD audio (16-bit little-endian stereo at 44.1 kHz) after
// EBU R 128, through libebur128: the integrated loudness (gated, in LUFS) and
// the sample peak. ReplayGain 2.0 takes the sample peak, not the true peak.
class Ebur128Meter {
public:
    // Raises CalvenorError when libebur128 cannot make its state.
    Ebur128Meter();
    ~Ebur128Meter();
    Ebur128Meter(const Ebur128Meter&) = delete;
    Ebur128Meter& operator=(const Ebur128Meter&) = delete;

    // Audio in chunks of any size: a frame split between two chunks is joined.
    void Add(const uint8_t* pcm, int64_t bytes);
    // The integrated loudness in LUFS; -infinity for silence.
    double Loudness() const;
    // The largest sample of either channel, 1.0 at full scale.
    double Peak() const;
    // The integrated loudness of the meters' audio taken as one: their gated
    // blocks together, not the mean of their loudness.
    static double Loudness(const std::vector<const Ebur128Meter*>& meters);

private:
    void addFrames(const uint8_t* pcm, int64_t frames);

    // libebur128's state, which its header declares without a name to forward.
    struct State;
    std::unique_ptr<State> m_state;
    // The bytes of a frame the last chunk cut.
    uint8_t m_partial[4] = {};
    int m_partialBytes = 0;
    std::vector<int16_t> m_samples;
};
