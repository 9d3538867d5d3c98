#pragma once
#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

class IEncodedOutput;

// A FLAC stream written through libFLAC into an output: 16-bit samples or,
// for the converter, the source's own depth,
// verified by libFLAC as it goes (it decodes each frame and compares), with
// the audio's MD5 and a seek table filled in when the stream is finished,
// and room for tags written afterwards without moving the audio. The rip's
// files and the converter's are all written here, with the same settings.
class FlacEncoder {
public:
    static constexpr int MinLevel = 0;
    static constexpr int MaxLevel = 8;
    static constexpr int DefaultLevel = 5;

    // expectedFrames: the length announced for the seek table (0: unknown).
    // Raises CalvenorError with a French text when libFLAC refuses the stream.
    FlacEncoder(IEncodedOutput& output, int channels, int sampleRate, int level, uint64_t expectedFrames,
                int bitsPerSample = 16);
    ~FlacEncoder();
    FlacEncoder(const FlacEncoder&) = delete;
    FlacEncoder& operator=(const FlacEncoder&) = delete;

    // Whole sample frames of little-endian 16-bit interleaved PCM.
    void Encode(const uint8_t* pcm, int64_t frames);
    // Whole sample frames of interleaved samples.
    void Encode(const int16_t* samples, int64_t frames);
    void Encode(const int32_t* samples, int64_t frames);
    // Flushes the last frame and completes the stream's header.
    void Finish();

    int Channels() const { return m_channels; }

private:
    struct Callbacks;
    struct Handles;
    void encodeSamples(int64_t frames);
    void check(bool ok);
    [[noreturn]] void fail();
    void writeBytes(const uint8_t* data, int64_t length);

    IEncodedOutput& m_output;
    int m_channels;
    std::vector<int32_t> m_samples;
    int64_t m_position = 0;
    int64_t m_size = 0;
    std::exception_ptr m_outputError;
    // Last: deleting an unfinished encoder still writes through the members above.
    std::unique_ptr<Handles> m_handles;
};
