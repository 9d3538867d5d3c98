#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct hip_global_struct;

// An MP3 decoder (libmp3lame's): takes the bytes of one MP3 stream in pieces
// of any size and gives back 16-bit PCM, channels interleaved, left first.
// A VBR header frame at the start is read, not played.
class Mp3Decoder {
public:
    Mp3Decoder();
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // Decodes every whole frame it has; appends their PCM to pcm. False on a
    // frame that cannot be decoded.
    bool Decode(const uint8_t* data, size_t length, std::vector<int16_t>& pcm);

    // Known once a frame header has been read.
    bool HeaderParsed() const { return m_channels > 0; }
    int Channels() const { return m_channels; }
    int SampleRate() const { return m_sampleRate; }
    // Samples a channel in one frame.
    int FrameSamples() const { return m_frameSamples; }
    // From the VBR header frame; -1 when the stream has none.
    int EncoderDelay() const { return m_delay; }
    int EncoderPadding() const { return m_padding; }
    int HeaderFrameCount() const { return m_headerFrames; }

private:
    int decodeOne(const uint8_t* data, size_t length, std::vector<int16_t>& pcm);

    hip_global_struct* m_hip;
    int m_channels = 0;
    int m_sampleRate = 0;
    int m_frameSamples = 0;
    int m_delay = -1;
    int m_padding = -1;
    int m_headerFrames = -1;
};
