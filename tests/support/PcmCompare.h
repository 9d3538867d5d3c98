#pragma once
#include <QByteArray>
#include <cstdint>
#include <vector>

// Generated test audio and the measures that compare decoded audio with its
// source: lossy encoding shifts and alters samples, so the tests compare by
// correlation after finding the shift.
class PcmCompare {
public:
    struct Decoded {
        std::vector<int16_t> pcm; // interleaved
        int channels = 0;
        int sampleRate = 0;
        int frames() const { return channels ? int(pcm.size()) / channels : 0; }
    };

    // 16-bit little-endian PCM, two tones per channel, different on each
    // channel so that a swap shows.
    static QByteArray Tones(int frames, int sampleRate, int channels);
    static std::vector<int16_t> Samples(const QByteArray& pcm);
    // Decodes a whole MP3 file's bytes with the product's decoder.
    static Decoded DecodeMp3(const QByteArray& mp3);
    // The shift in frames (0..maxLag) of decoded against source that matches best.
    static int BestLag(const std::vector<int16_t>& source, const std::vector<int16_t>& decoded, int channels,
                       int maxLag);
    // The lowest per-channel correlation of source with decoded shifted by lag frames.
    static double Correlation(const std::vector<int16_t>& source, const std::vector<int16_t>& decoded, int channels,
                              int lag);
};
