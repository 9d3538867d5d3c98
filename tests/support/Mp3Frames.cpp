#include "support/Mp3Frames.h"

namespace {
const int Mpeg1Bitrates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1};
const int Mpeg2Bitrates[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1};
const int Mpeg1Rates[3] = {44100, 48000, 32000};

uint32_t bigEndian32(const QByteArray& b, int at)
{
    return uint32_t(uint8_t(b[at])) << 24 | uint32_t(uint8_t(b[at + 1])) << 16 | uint32_t(uint8_t(b[at + 2])) << 8
        | uint8_t(b[at + 3]);
}
} // namespace

std::optional<Mp3Frames::Header> Mp3Frames::HeaderAt(const QByteArray& file, int offset)
{
    if (offset < 0 || offset + 4 > file.size())
        return std::nullopt;
    const uint32_t h = bigEndian32(file, offset);
    const int versionBits = (h >> 19) & 3, layerBits = (h >> 17) & 3;
    const int bitrateIndex = (h >> 12) & 15, rateIndex = (h >> 10) & 3;
    if ((h >> 21) != 0x7FF || versionBits == 1 || layerBits != 1 || bitrateIndex == 0 || bitrateIndex == 15
        || rateIndex == 3)
        return std::nullopt;
    Header f;
    f.offset = offset;
    f.mpegVersion = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    const int divisor = f.mpegVersion == 1 ? 1 : f.mpegVersion == 2 ? 2 : 4;
    f.sampleRate = Mpeg1Rates[rateIndex] / divisor;
    f.bitrateKbps = (f.mpegVersion == 1 ? Mpeg1Bitrates : Mpeg2Bitrates)[bitrateIndex];
    f.samples = f.mpegVersion == 1 ? 1152 : 576;
    const int padding = (h >> 9) & 1;
    f.length = f.samples / 8 * f.bitrateKbps * 1000 / f.sampleRate + padding;
    f.crc = ((h >> 16) & 1) == 0;
    f.privateBit = (h >> 8) & 1;
    f.mode = (h >> 6) & 3;
    f.copyright = (h >> 3) & 1;
    f.original = (h >> 2) & 1;
    return f;
}

QList<Mp3Frames::Header> Mp3Frames::Walk(const QByteArray& file)
{
    QList<Header> frames;
    int offset = 0;
    while (auto f = HeaderAt(file, offset)) {
        if (f->offset + f->length > file.size())
            break;
        frames << *f;
        offset += f->length;
    }
    return frames;
}

std::optional<Mp3Frames::VbrTag> Mp3Frames::TagIn(const QByteArray& file, const Header& frame)
{
    // The tag follows the side information, whose size depends on version,
    // channels and CRC; look for it in the frame's first bytes.
    const QByteArray head = file.mid(frame.offset, qMin(frame.length, 64));
    for (const char* id : {"Xing", "Info"}) {
        const int at = head.indexOf(id);
        if (at < 0)
            continue;
        VbrTag tag;
        tag.id = id;
        const int flagsAt = frame.offset + at + 4;
        if (flagsAt + 8 <= file.size() && (bigEndian32(file, flagsAt) & 1))
            tag.frames = int(bigEndian32(file, flagsAt + 4));
        return tag;
    }
    return std::nullopt;
}
