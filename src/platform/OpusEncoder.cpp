#include "platform/OpusEncoder.h"
#include "platform/CalvenorError.h"
#include "platform/IEncodedOutput.h"
#include "platform/PcmSamples.h"
#include <QString>
#include <algorithm>
#include <opus/opusenc.h>
#include <vector>

namespace {
constexpr int SerialNumber = 0x43616c76;
constexpr int Complexity = 10;

[[noreturn]] void refuse(int status)
{
    throw CalvenorError(QStringLiteral("L'encodeur Opus a refusé le flux : %1.")
                            .arg(QString::fromUtf8(ope_strerror(status))));
}
} // namespace

struct OpusEncoder::Handles {
    OggOpusComments* comments = ope_comments_create();
    OggOpusEnc* encoder = nullptr;
    std::vector<int16_t> samples;
    Handles() = default;
    Handles(const Handles&) = delete;
    Handles& operator=(const Handles&) = delete;
    ~Handles()
    {
        if (encoder)
            ope_encoder_destroy(encoder);
        if (comments)
            ope_comments_destroy(comments);
    }
};

int OpusEncoder::write(void* self, const unsigned char* data, int32_t length)
{
    auto* encoder = static_cast<OpusEncoder*>(self);
    try {
        encoder->m_output.Write(data, length);
        return 0;
    } catch (...) {
        encoder->m_outputError = std::current_exception();
        return 1;
    }
}

OpusEncoder::OpusEncoder(IEncodedOutput& output, int channels, int sampleRate, int kbps)
    : m_output(output), m_channels(channels), m_handles(std::make_unique<Handles>())
{
    if (!m_handles->comments)
        throw CalvenorError(QStringLiteral("L'encodeur Opus n'a pas pu être créé (mémoire insuffisante)."));
    static const OpusEncCallbacks callbacks = {&OpusEncoder::write, [](void*) { return 0; }};
    int status = OPE_OK;
    m_handles->encoder =
        ope_encoder_create_callbacks(&callbacks, this, m_handles->comments, sampleRate, channels, 0, &status);
    if (!m_handles->encoder)
        refuse(status);
    OggOpusEnc* const encoder = m_handles->encoder;
    check(ope_encoder_ctl(encoder, OPE_SET_SERIALNO(SerialNumber)));
    check(ope_encoder_ctl(encoder, OPUS_SET_BITRATE(std::clamp(kbps, MinKbps, MaxKbps) * 1000)));
    check(ope_encoder_ctl(encoder, OPUS_SET_VBR(1)));
    check(ope_encoder_ctl(encoder, OPUS_SET_COMPLEXITY(Complexity)));
}

OpusEncoder::~OpusEncoder() = default;

void OpusEncoder::Encode(const uint8_t* pcm, int frames)
{
    if (frames <= 0)
        return;
    ReadPcm16(pcm, int64_t(frames) * m_channels, m_handles->samples);
    check(ope_encoder_write(m_handles->encoder, m_handles->samples.data(), frames));
}

void OpusEncoder::Finish()
{
    check(ope_encoder_drain(m_handles->encoder));
}

void OpusEncoder::check(int status)
{
    if (m_outputError)
        std::rethrow_exception(std::exchange(m_outputError, nullptr));
    if (status != OPE_OK)
        refuse(status);
}
