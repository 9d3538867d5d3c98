#include "support/PcmCompare.h"
#include "platform/Mp3Decoder.h"
#include <algorithm>
#include <cmath>

namespace {
double channelCorrelation(const std::vector<int16_t>& a, const std::vector<int16_t>& b, int channels, int channel,
                          int lag, int frames)
{
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    for (int i = 0; i < frames; ++i) {
        const double x = a[size_t(i) * channels + channel];
        const double y = b[size_t(i + lag) * channels + channel];
        sa += x;
        sb += y;
        saa += x * x;
        sbb += y * y;
        sab += x * y;
    }
    const double n = frames;
    const double cov = sab - sa * sb / n;
    const double va = saa - sa * sa / n, vb = sbb - sb * sb / n;
    return va > 0 && vb > 0 ? cov / std::sqrt(va * vb) : 0.0;
}

int overlap(const std::vector<int16_t>& source, const std::vector<int16_t>& decoded, int channels, int lag)
{
    return std::max(0, std::min(int(source.size()) / channels, int(decoded.size()) / channels - lag));
}
} // namespace

QByteArray PcmCompare::Tones(int frames, int sampleRate, int channels)
{
    QByteArray pcm(frames * channels * 2, '\0');
    const double tones[2][2] = {{440.0, 1250.0}, {660.0, 2930.0}};
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            const double t = double(i) / sampleRate;
            const double v = 0.3 * std::sin(2 * M_PI * tones[c][0] * t) + 0.15 * std::sin(2 * M_PI * tones[c][1] * t);
            const auto s = int16_t(std::lround(v * 32767));
            pcm[(i * channels + c) * 2] = char(s & 0xFF);
            pcm[(i * channels + c) * 2 + 1] = char((s >> 8) & 0xFF);
        }
    }
    return pcm;
}

std::vector<int16_t> PcmCompare::Samples(const QByteArray& pcm)
{
    std::vector<int16_t> s(size_t(pcm.size()) / 2);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = int16_t(uint8_t(pcm[int(2 * i)]) | uint8_t(pcm[int(2 * i + 1)]) << 8);
    return s;
}

PcmCompare::Decoded PcmCompare::DecodeMp3(const QByteArray& mp3)
{
    Decoded d;
    Mp3Decoder decoder;
    constexpr int Piece = 4096;
    for (int at = 0; at < mp3.size(); at += Piece) {
        const int n = std::min(Piece, int(mp3.size()) - at);
        if (!decoder.Decode(reinterpret_cast<const uint8_t*>(mp3.constData()) + at, size_t(n), d.pcm))
            break;
    }
    decoder.Decode(nullptr, 0, d.pcm);
    d.channels = decoder.Channels();
    d.sampleRate = decoder.SampleRate();
    return d;
}

int PcmCompare::BestLag(const std::vector<int16_t>& source, const std::vector<int16_t>& decoded, int channels,
                        int maxLag)
{
    // A window of the source is enough to find the shift.
    int best = 0;
    double bestScore = -2;
    for (int lag = 0; lag <= maxLag; ++lag) {
        const int frames = std::min(8192, overlap(source, decoded, channels, lag));
        if (frames <= 0)
            break;
        const double score = channelCorrelation(source, decoded, channels, 0, lag, frames);
        if (score > bestScore) {
            bestScore = score;
            best = lag;
        }
    }
    return best;
}

double PcmCompare::Correlation(const std::vector<int16_t>& source, const std::vector<int16_t>& decoded, int channels,
                               int lag)
{
    const int frames = overlap(source, decoded, channels, lag);
    double lowest = 1.0;
    for (int c = 0; c < channels; ++c)
        lowest = std::min(lowest, channelCorrelation(source, decoded, channels, c, lag, frames));
    return frames > 0 ? lowest : 0.0;
}
