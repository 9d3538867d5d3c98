#include "encode/WavHeader.h"
#include <QtEndian>
#include <cmath>

namespace {
void append16(QByteArray& out, uint16_t v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}
void append32(QByteArray& out, uint32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}
} // namespace

QByteArray WavHeader::Make(int channels, int sampleRate, uint32_t dataSize)
{
    QByteArray h;
    h.reserve(Size);
    h.append("RIFF", 4);
    append32(h, RiffSize(dataSize));
    h.append("WAVE", 4);
    h.append("fmt ", 4);
    append32(h, 16);
    append16(h, 1);
    append16(h, static_cast<uint16_t>(channels));
    append32(h, static_cast<uint32_t>(sampleRate));
    append32(h, static_cast<uint32_t>(channels * sampleRate * 2));
    append16(h, static_cast<uint16_t>(channels * 2));
    append16(h, 16);
    h.append("data", 4);
    append32(h, dataSize);
    return h;
}

uint32_t WavHeader::AnnouncedDataSize(int channels, int sampleRate, int32_t first, int32_t last)
{
    const double bytesPerSecond = double(channels) * sampleRate * 2;
    const double seconds = double(last - first) / 75.0;
    return static_cast<uint32_t>(std::llround(bytesPerSecond * seconds));
}
