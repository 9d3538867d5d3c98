#include "encode/WavHeader.h"
#include "encode/PcmBytes.h"
#include <QtEndian>
#include <cmath>

namespace {
constexpr uint16_t FormatPcm = 1;
constexpr uint16_t FormatExtensible = 0xFFFE;
constexpr uint16_t ExtensionSize = 22;
// KSDATAFORMAT_SUBTYPE_PCM after its first two bytes (the format tag).
const char PcmSubFormatTail[] = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";
constexpr int PcmSubFormatTailSize = 14;
// Front left and right, or front centre.
constexpr uint32_t StereoMask = 0x3;
constexpr uint32_t MonoMask = 0x4;

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

QByteArray WavHeader::Make(int channels, int sampleRate, uint32_t dataSize, int bits)
{
    const int container = PcmBytes::ContainerBits(bits);
    const bool extensible = container != bits;
    const uint16_t blockAlign = uint16_t(channels * container / 8);
    QByteArray fmt;
    append16(fmt, extensible ? FormatExtensible : FormatPcm);
    append16(fmt, uint16_t(channels));
    append32(fmt, uint32_t(sampleRate));
    append32(fmt, uint32_t(sampleRate) * blockAlign);
    append16(fmt, blockAlign);
    append16(fmt, uint16_t(container));
    if (extensible) {
        append16(fmt, ExtensionSize);
        append16(fmt, uint16_t(bits));
        append32(fmt, channels == 1 ? MonoMask : StereoMask);
        append16(fmt, FormatPcm);
        fmt.append(PcmSubFormatTail, PcmSubFormatTailSize);
    }
    QByteArray h("RIFF");
    const int headerSize = 12 + 8 + int(fmt.size()) + 8;
    append32(h, RiffSize(dataSize, headerSize));
    h.append("WAVEfmt ");
    append32(h, uint32_t(fmt.size()));
    h.append(fmt);
    h.append("data");
    append32(h, dataSize);
    return h;
}

uint32_t WavHeader::AnnouncedDataSize(int channels, int sampleRate, int32_t first, int32_t last)
{
    const double bytesPerSecond = double(channels) * sampleRate * 2;
    const double seconds = double(last - first) / 75.0;
    return static_cast<uint32_t>(std::llround(bytesPerSecond * seconds));
}
