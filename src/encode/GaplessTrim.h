#pragma once
#include <cstdint>
#include <vector>

// Cuts decoded MP3 audio back to what the encoder was given, as a LAME tag
// describes it: the encoder's delay and the decoder's own in front, the
// encoder's padding behind. Without a tag nothing is cut.
class GaplessTrim {
public:
    // The decoder's own delay in samples (a channel), the same for every layer III stream.
    static constexpr int DecoderDelay = 529;

    // delay < 0: no tag. frames <= 0: length unknown, only the front is cut.
    void Start(int channels, int delay, int padding, int frames, int frameSamples);
    // Samples a channel the encoder was given, as the tag tells it; -1 when unknown.
    static int64_t Length(int delay, int padding, int frames, int frameSamples);
    bool Started() const { return m_channels > 0; }
    // Removes from pcm (interleaved, the stream's next samples) what lies outside the audio.
    void Apply(std::vector<int16_t>& pcm);

private:
    int m_channels = 0;
    int64_t m_skip = 0;     // samples a channel still to drop in front
    int64_t m_left = -1;    // samples a channel still to keep; -1 all
};
