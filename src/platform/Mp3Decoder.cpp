#include "platform/Mp3Decoder.h"
#include "platform/CalvenorError.h"
#include <lame/lame.h>
#include <cstdarg>

namespace {
void silent(const char*, va_list) {}
// One MPEG-1 layer III frame per channel, the most one call returns.
constexpr int MaxFrameSamples = 1152;
} // namespace

Mp3Decoder::Mp3Decoder() : m_hip(hip_decode_init())
{
    if (!m_hip)
        throw CalvenorError(QStringLiteral("Le décodeur MP3 n'a pas pu démarrer."));
    hip_set_errorf(m_hip, silent);
    hip_set_debugf(m_hip, silent);
    hip_set_msgf(m_hip, silent);
}

Mp3Decoder::~Mp3Decoder()
{
    hip_decode_exit(m_hip);
}

bool Mp3Decoder::Decode(const uint8_t* data, size_t length, std::vector<int16_t>& pcm)
{
    // The first call takes the new bytes, the next ones empty the decoder's
    // buffer frame by frame. The decoder can answer "nothing" while whole
    // frames wait (on the call that adds bytes, after a header frame); only
    // two empty answers in a row mean that it needs more input.
    int result = decodeOne(data, length, pcm);
    for (int empty = 0; result >= 0 && empty < 2;) {
        result = decodeOne(data, 0, pcm);
        empty = result == 0 ? empty + 1 : 0;
    }
    return result >= 0;
}

int Mp3Decoder::decodeOne(const uint8_t* data, size_t length, std::vector<int16_t>& pcm)
{
    short left[MaxFrameSamples * 2], right[MaxFrameSamples * 2];
    mp3data_struct info{};
    int delay = -1, padding = -1;
    const int samples = hip_decode1_headersB(m_hip, const_cast<uint8_t*>(data), length, left, right, &info,
                                             &delay, &padding);
    if (samples < 0)
        return samples;
    if (info.header_parsed) {
        m_channels = info.stereo;
        m_sampleRate = info.samplerate;
        m_frameSamples = info.framesize;
        if (info.totalframes > 0)
            m_headerFrames = info.totalframes;
    }
    if (delay >= 0) {
        m_delay = delay;
        m_padding = padding;
    }
    for (int i = 0; i < samples; ++i) {
        pcm.push_back(left[i]);
        if (m_channels == 2)
            pcm.push_back(right[i]);
    }
    return samples;
}
