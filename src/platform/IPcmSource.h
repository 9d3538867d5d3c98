#pragma once
#include <cstdint>
#include <vector>

// Decoded audio as the converter takes it: integer samples at the source's
// own bit depth (a 24-bit sample runs from -2^23 to 2^23 - 1), channels
// interleaved, left first.
class IPcmSource {
public:
    virtual ~IPcmSource() = default;
    virtual int Channels() const = 0;
    virtual int SampleRate() const = 0;
    virtual int BitsPerSample() const = 0;
    // Sample frames the source announces; 0 when it does not say.
    virtual uint64_t Frames() const = 0;
    // Appends the next piece of audio, in whole frames; false once all of it was given.
    virtual bool Read(std::vector<int32_t>& samples) = 0;
    // Share of the source read so far, 0..1.
    virtual double Fraction() const = 0;
};
