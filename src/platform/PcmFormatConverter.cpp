#include "platform/PcmFormatConverter.h"

namespace {
constexpr int CdSampleRate = 44100;

int16_t floorAverage(int32_t sum, int32_t count)
{
    int32_t q = sum / count;
    if (sum % count != 0 && sum < 0)
        --q;
    return static_cast<int16_t>(q);
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
    const OutputLayout layout = layoutOf(format);
    const int framesPerOutput = CdSampleRate / layout.sampleRate;
    const bool mono = layout.channels == 1;
    uint8_t* const start = out;
    for (int frame = 0; frame < SectorFrames; frame += framesPerOutput) {
        const int16_t* group = samples + frame * 2;
        int32_t left = 0, right = 0;
        for (int k = 0; k < framesPerOutput; ++k) {
            left += group[2 * k];
            right += group[2 * k + 1];
        }
        if (mono) {
            out = putLittleEndian(out, floorAverage(left + right, 2 * framesPerOutput));
        } else {
            out = putLittleEndian(out, floorAverage(left, framesPerOutput));
            out = putLittleEndian(out, floorAverage(right, framesPerOutput));
        }
    }
    return static_cast<int32_t>(out - start);
}
