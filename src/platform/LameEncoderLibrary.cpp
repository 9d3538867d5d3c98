#include "platform/LameEncoderLibrary.h"
#include <lame/lame.h>
#include <algorithm>
#include <cstdarg>
#include <cstring>

namespace {
using LamePtr = std::unique_ptr<lame_global_flags, int (*)(lame_global_flags*)>;

void silent(const char*, va_list) {}

uint32_t field(const uint8_t* record, int offset)
{
    return uint32_t(record[offset]) | uint32_t(record[offset + 1]) << 8 | uint32_t(record[offset + 2]) << 16
        | uint32_t(record[offset + 3]) << 24;
}

bool flag(const uint8_t* record, int offset)
{
    return field(record, offset) != 0;
}

MPEG_mode lameMode(uint32_t mode)
{
    static const MPEG_mode modes[] = {STEREO, JOINT_STEREO, DUAL_CHANNEL, MONO};
    return modes[mode];
}

// Quality presets Normal, Low, High and Voice as LAME's algorithm quality
// (0 best and slowest, 9 worst).
constexpr int LameQuality[] = {5, 7, 2, 5};
constexpr int VoiceQuality = 3;
// Speech needs no highs: the bits go to the voice band instead.
constexpr int VoiceLowpassHz = 12000;

void configureBitrate(lame_t gf, const uint8_t* record)
{
    if (flag(record, BeConfig::EnableVBR)) {
        lame_set_VBR(gf, vbr_default);
        lame_set_VBR_q(gf, std::clamp(static_cast<int>(field(record, BeConfig::VBRQuality)), 0, 9));
        if (const uint32_t max = field(record, BeConfig::MaxBitrate))
            lame_set_VBR_max_bitrate_kbps(gf, static_cast<int>(max));
    } else {
        lame_set_VBR(gf, vbr_off);
        lame_set_brate(gf, static_cast<int>(field(record, BeConfig::Bitrate)));
    }
}

void configureQuality(lame_t gf, const uint8_t* record)
{
    const uint32_t preset = field(record, BeConfig::Quality);
    lame_set_quality(gf, preset < std::size(LameQuality) ? LameQuality[preset] : LameQuality[0]);
    if (preset == VoiceQuality)
        lame_set_lowpassfreq(gf, VoiceLowpassHz);
}

// Returns false when the record asks for something LAME cannot do.
bool configure(lame_t gf, const uint8_t* record)
{
    const uint32_t mode = field(record, BeConfig::Mode);
    const uint32_t rate = field(record, BeConfig::SampleRate);
    const uint32_t outRate = field(record, BeConfig::OutSampleRate);
    if (mode > 3 || !BeConfig::AcceptsSampleRate(rate) || (outRate != 0 && !BeConfig::AcceptsSampleRate(outRate)))
        return false;
    lame_set_errorf(gf, silent);
    lame_set_debugf(gf, silent);
    lame_set_msgf(gf, silent);
    lame_set_in_samplerate(gf, static_cast<int>(rate));
    if (outRate != 0)
        lame_set_out_samplerate(gf, static_cast<int>(outRate));
    lame_set_num_channels(gf, mode == 3 ? 1 : 2);
    lame_set_mode(gf, lameMode(mode));
    configureBitrate(gf, record);
    configureQuality(gf, record);
    lame_set_emphasis(gf, static_cast<int>(field(record, BeConfig::Emphasis)));
    lame_set_extension(gf, flag(record, BeConfig::Private));
    lame_set_error_protection(gf, flag(record, BeConfig::CRC));
    lame_set_copyright(gf, flag(record, BeConfig::Copyright));
    lame_set_original(gf, flag(record, BeConfig::Original));
    lame_set_bWriteVbrTag(gf, flag(record, BeConfig::WriteVBRHeader));
    // The ripping window writes its own tag at the end of the file.
    lame_set_write_id3tag_automatic(gf, 0);
    return lame_init_params(gf) >= 0;
}
} // namespace

class LameEncoderLibrary::Stream {
public:
    // Takes an encoder whose parameters are initialised.
    explicit Stream(LamePtr encoder) : m_gf(std::move(encoder))
    {
        lame_t gf = m_gf.get();
        m_channels = lame_get_num_channels(gf);
        // One output frame's worth of input samples; with resampling LAME
        // consumes in_rate/out_rate times the frame size.
        const int64_t frame = lame_get_framesize(gf);
        const int64_t in = lame_get_in_samplerate(gf);
        const int64_t out = lame_get_out_samplerate(gf);
        const int64_t perChannel = (frame * in + out - 1) / out;
        m_samplesPerChunk = static_cast<uint32_t>(perChannel * m_channels);
        // LAME's stated worst case for one call, which also covers the flush.
        m_outputBufferSize = static_cast<uint32_t>((perChannel * 5 + 3) / 4 + 7200);
    }

    lame_t gf() const { return m_gf.get(); }
    int Channels() const { return m_channels; }
    uint32_t SamplesPerChunk() const { return m_samplesPerChunk; }
    uint32_t OutputBufferSize() const { return m_outputBufferSize; }

private:
    LamePtr m_gf;
    int m_channels = 2;
    uint32_t m_samplesPerChunk = 0;
    uint32_t m_outputBufferSize = 0;
};

LameEncoderLibrary::LameEncoderLibrary() = default;
LameEncoderLibrary::~LameEncoderLibrary() = default;

LameEncoderLibrary::Stream* LameEncoderLibrary::find(uint32_t handle) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_streams.find(handle);
    return it == m_streams.end() ? nullptr : it->second.get();
}

uint32_t LameEncoderLibrary::beInitStream(const uint8_t* config, uint32_t* samplesPerChunk,
                                          uint32_t* outputBufferSize, uint32_t* streamHandle)
{
    if (field(config, BeConfig::Kind) != BeConfig::KindLame)
        return BE_ERR_INVALID_FORMAT;
    std::lock_guard<std::mutex> lock(m_mutex);
    LamePtr gf(lame_init(), lame_close);
    if (!gf)
        return BE_ERR_NO_MORE_HANDLES;
    if (!configure(gf.get(), config))
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    auto stream = std::make_unique<Stream>(std::move(gf));
    *samplesPerChunk = stream->SamplesPerChunk();
    *outputBufferSize = stream->OutputBufferSize();
    *streamHandle = m_nextHandle++;
    m_streams[*streamHandle] = std::move(stream);
    return BE_ERR_SUCCESSFUL;
}

uint32_t LameEncoderLibrary::beEncodeChunk(uint32_t streamHandle, uint32_t samples, const int16_t* pcm,
                                           uint8_t* output, uint32_t* outputLength)
{
    *outputLength = 0;
    Stream* stream = find(streamHandle);
    if (!stream)
        return BE_ERR_INVALID_HANDLE;
    // More than one chunk could overflow the caller's buffer of OutputBufferSize bytes.
    if (samples > stream->SamplesPerChunk())
        return BE_ERR_BUFFER_TOO_SMALL;
    if (samples % stream->Channels() != 0)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    const int perChannel = static_cast<int>(samples) / stream->Channels();
    const int size = static_cast<int>(stream->OutputBufferSize());
    const int written = stream->Channels() == 2
        ? lame_encode_buffer_interleaved(stream->gf(), const_cast<short*>(pcm), perChannel, output, size)
        : lame_encode_buffer(stream->gf(), pcm, pcm, perChannel, output, size);
    if (written < 0)
        return written == -1 ? BE_ERR_BUFFER_TOO_SMALL : BE_ERR_INVALID_FORMAT_PARAMETERS;
    *outputLength = static_cast<uint32_t>(written);
    return BE_ERR_SUCCESSFUL;
}

uint32_t LameEncoderLibrary::beDeinitStream(uint32_t streamHandle, uint8_t* output, uint32_t* outputLength)
{
    *outputLength = 0;
    Stream* stream = find(streamHandle);
    if (!stream)
        return BE_ERR_INVALID_HANDLE;
    const int written = lame_encode_flush(stream->gf(), output, static_cast<int>(stream->OutputBufferSize()));
    if (written < 0)
        return BE_ERR_BUFFER_TOO_SMALL;
    *outputLength = static_cast<uint32_t>(written);
    return BE_ERR_SUCCESSFUL;
}

uint32_t LameEncoderLibrary::beInfoTag(uint32_t streamHandle, uint8_t* output, uint32_t* outputLength)
{
    *outputLength = 0;
    Stream* stream = find(streamHandle);
    if (!stream)
        return BE_ERR_INVALID_HANDLE;
    const size_t size = stream->OutputBufferSize();
    const size_t length = lame_get_lametag_frame(stream->gf(), output, size);
    if (length > size)
        return BE_ERR_BUFFER_TOO_SMALL;
    *outputLength = static_cast<uint32_t>(length);
    return BE_ERR_SUCCESSFUL;
}

uint32_t LameEncoderLibrary::beCloseStream(uint32_t streamHandle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_streams.erase(streamHandle) ? BE_ERR_SUCCESSFUL : BE_ERR_INVALID_HANDLE;
}

void LameEncoderLibrary::beVersion(uint8_t* version)
{
    lame_version_t lame{};
    get_lame_version_numerical(&lame);
    std::memset(version, 0, BeVersionSize);
    version[0] = DllMajorVersion;
    version[1] = DllMinorVersion;
    version[2] = static_cast<uint8_t>(lame.major);
    version[3] = static_cast<uint8_t>(lame.minor);
}
