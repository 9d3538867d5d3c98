#pragma once
#include <cstdint>
#include <memory>

class IEncodedOutput;

// An Ogg Vorbis stream written through libvorbisenc and libogg into an
// output, in VBR at the quality asked. The last page's granule position
// ends the stream at its last sample, and the serial number is fixed: the
// same samples give the same bytes on any thread.
class VorbisEncoder {
public:
    static constexpr int MinQuality = -1;
    static constexpr int MaxQuality = 10;
    static constexpr int DefaultQuality = 6;

    // Raises CalvenorError with a French text when libvorbisenc refuses the stream.
    VorbisEncoder(IEncodedOutput& output, int channels, int sampleRate, int quality);
    ~VorbisEncoder();
    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    // Whole sample frames of little-endian 16-bit interleaved PCM.
    void Encode(const uint8_t* pcm, int frames);
    // Ends the stream and writes its last page.
    void Finish();

private:
    struct Handles;
    void writeHeaders();
    void analyse();
    void writePages(bool flush);

    IEncodedOutput& m_output;
    int m_channels;
    std::unique_ptr<Handles> m_handles;
};
