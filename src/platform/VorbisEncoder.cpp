#include "platform/VorbisEncoder.h"
#include "platform/CalvenorError.h"
#include "platform/IEncodedOutput.h"
#include "platform/PcmSamples.h"
#include <QString>
#include <algorithm>
#include <vector>
#include <vorbis/vorbisenc.h>

namespace {
constexpr int SerialNumber = 0x43616c76;
} // namespace

// libvorbis's and libogg's state, cleared in the reverse order of its making.
struct VorbisEncoder::Handles {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    std::vector<int16_t> samples;
    bool analysing = false;
    Handles()
    {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
        ogg_stream_init(&stream, SerialNumber);
    }
    Handles(const Handles&) = delete;
    Handles& operator=(const Handles&) = delete;
    ~Handles()
    {
        ogg_stream_clear(&stream);
        if (analysing) {
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
};

VorbisEncoder::VorbisEncoder(IEncodedOutput& output, int channels, int sampleRate, int quality)
    : m_output(output), m_channels(channels), m_handles(std::make_unique<Handles>())
{
    Handles& h = *m_handles;
    const float q = float(std::clamp(quality, MinQuality, MaxQuality)) / 10.0f;
    if (vorbis_encode_init_vbr(&h.info, channels, sampleRate, q) != 0)
        throw CalvenorError(QStringLiteral("L'encodeur Vorbis refuse ce flux (%1 voies à %2 Hz).")
                                .arg(channels)
                                .arg(sampleRate));
    vorbis_analysis_init(&h.dsp, &h.info);
    vorbis_block_init(&h.dsp, &h.block);
    h.analysing = true;
    writeHeaders();
}

VorbisEncoder::~VorbisEncoder() = default;

void VorbisEncoder::writeHeaders()
{
    Handles& h = *m_handles;
    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&h.dsp, &h.comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&h.stream, &identification);
    ogg_stream_packetin(&h.stream, &comments);
    ogg_stream_packetin(&h.stream, &codebooks);
    // The audio begins on a page of its own, as decoders expect.
    writePages(true);
}

void VorbisEncoder::Encode(const uint8_t* pcm, int frames)
{
    if (frames <= 0)
        return;
    ReadPcm16(pcm, int64_t(frames) * m_channels, m_handles->samples);
    const int16_t* sample = m_handles->samples.data();
    float** buffer = vorbis_analysis_buffer(&m_handles->dsp, frames);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < m_channels; ++c)
            buffer[c][i] = float(*sample++) / 32768.0f;
    vorbis_analysis_wrote(&m_handles->dsp, frames);
    analyse();
}

void VorbisEncoder::Finish()
{
    vorbis_analysis_wrote(&m_handles->dsp, 0);
    analyse();
    writePages(true);
}

void VorbisEncoder::analyse()
{
    Handles& h = *m_handles;
    ogg_packet packet;
    while (vorbis_analysis_blockout(&h.dsp, &h.block) == 1) {
        vorbis_analysis(&h.block, nullptr);
        vorbis_bitrate_addblock(&h.block);
        while (vorbis_bitrate_flushpacket(&h.dsp, &packet) == 1)
            ogg_stream_packetin(&h.stream, &packet);
    }
    writePages(false);
}

void VorbisEncoder::writePages(bool flush)
{
    ogg_page page;
    while ((flush ? ogg_stream_flush(&m_handles->stream, &page) : ogg_stream_pageout(&m_handles->stream, &page)) != 0) {
        m_output.Write(page.header, page.header_len);
        m_output.Write(page.body, page.body_len);
    }
}
