#pragma once
#include <cstdint>
#include <exception>
#include <memory>

class IEncodedOutput;

// An Ogg Opus stream written through libopusenc into an output: VBR at the
// bitrate asked, complexity 10. libopusenc resamples to 48 kHz and writes the
// pre-skip and the last page's granule position, so the stream decodes to
// exactly the samples given. The serial number is fixed: the same samples
// give the same bytes on any thread.
class OpusEncoder {
public:
    static constexpr int MinKbps = 64;
    static constexpr int MaxKbps = 256;
    static constexpr int DefaultKbps = 160;

    // Raises CalvenorError with a French text when libopusenc refuses the stream.
    OpusEncoder(IEncodedOutput& output, int channels, int sampleRate, int kbps);
    ~OpusEncoder();
    OpusEncoder(const OpusEncoder&) = delete;
    OpusEncoder& operator=(const OpusEncoder&) = delete;

    // Whole sample frames of little-endian 16-bit interleaved PCM.
    void Encode(const uint8_t* pcm, int frames);
    // Encodes what libopusenc holds back and writes the last page.
    void Finish();

private:
    struct Handles;
    static int write(void* self, const unsigned char* data, int32_t length);
    void check(int status);

    IEncodedOutput& m_output;
    int m_channels;
    std::exception_ptr m_outputError;
    // Last: destroying the encoder may still write through the members above.
    std::unique_ptr<Handles> m_handles;
};
