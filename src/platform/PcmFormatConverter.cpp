#include "platform/PcmFormatConverter.h"
#include <QtEndian>

namespace {
constexpr int CdSampleRate = 44100;

// Counts are 2, 4 or 8: an arithmetic shift divides rounding towards minus
// infinity, without a division per sample.
int16_t floorAverage(int32_t sum, int shift)
{
    return static_cast<int16_t>(sum >> shift);
}

int log2Of(int powerOfTwo)
{
    int shift = 0;
    while ((1 << shift) < powerOfTwo)
        ++shift;
    return shift;
}

uint8_t* putLittleEndian(uint8_t* out, int16_t v)
{
    const auto u = static_cast<uint16_t>(v);
    out[0] = static_cast<uint8_t>(u & 0xFF);
    out[1] = static_cast<uint8_t>(u >> 8);
    return out + 2;
}
} // namespace

int32_t PcmFormatConverter::BytesPerSector(TOutputFormat format)
{
    const OutputLayout layout = layoutOf(format);
    return SectorFrames / (CdSampleRate / layout.sampleRate) * layout.channels * 2;
}

int32_t PcmFormatConverter::ConvertSector(const int16_t* samples, TOutputFormat format, uint8_t* out)
{
    if (format == STEREO44100) {
        qToLittleEndian<int16_t>(samples, SectorFrames * 2, out);
        return SectorFrames * 4;
    }
    const OutputLayout layout = layoutOf(format);
    const int framesPerOutput = CdSampleRate / layout.sampleRate;
    const bool mono = layout.channels == 1;
    const int channelShift = log2Of(framesPerOutput);
    uint8_t* const start = out;
    for (int frame = 0; frame < SectorFrames; frame += framesPerOutput) {
        const int16_t* group = samples + frame * 2;
        int32_t left = 0, right = 0;
        for (int k = 0; k < framesPerOutput; ++k) {
            left += group[2 * k];
            right += group[2 * k + 1];
        }
        if (mono) {
            out = putLittleEndian(out, floorAverage(left + right, channelShift + 1));
        } else {
            out = putLittleEndian(out, floorAverage(left, channelShift));
            out = putLittleEndian(out, floorAverage(right, channelShift));
        }
    }
    return static_cast<int32_t>(out - start);
}
