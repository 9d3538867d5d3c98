#include "platform/FlacFileWriter.h"
#include <FLAC/stream_encoder.h>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {
constexpr unsigned CompressionLevel = 5;
constexpr unsigned BitsPerSample = 16;
} // namespace

struct FlacFileWriter::Stream {
    FLAC__StreamEncoder* encoder = FLAC__stream_encoder_new();
    std::vector<FLAC__int32> samples;
    // finish closes the FILE it was given; delete finishes a stream left open.
    ~Stream() { FLAC__stream_encoder_delete(encoder); }
};

FlacFileWriter::FlacFileWriter(int descriptor, int channels, int sampleRate)
    : m_stream(std::make_unique<Stream>()), m_channels(channels)
{
    FLAC__StreamEncoder* e = m_stream->encoder;
    if (!e || channels < 1 || sampleRate < 1 || !FLAC__stream_encoder_set_channels(e, unsigned(channels))
        || !FLAC__stream_encoder_set_bits_per_sample(e, BitsPerSample)
        || !FLAC__stream_encoder_set_sample_rate(e, unsigned(sampleRate))
        || !FLAC__stream_encoder_set_compression_level(e, CompressionLevel)
        || !FLAC__stream_encoder_set_verify(e, true))
        throw Refused{};
    const int copy = ::dup(descriptor);
    FILE* file = copy >= 0 ? ::fdopen(copy, "wb") : nullptr;
    if (!file) {
        if (copy >= 0)
            ::close(copy);
        throw Refused{};
    }
    // From here the encoder owns the FILE and closes it.
    if (FLAC__stream_encoder_init_FILE(e, file, nullptr, nullptr) != FLAC__STREAM_ENCODER_INIT_STATUS_OK)
        throw Refused{};
}

FlacFileWriter::~FlacFileWriter() = default;

bool FlacFileWriter::Write(const int16_t* interleaved, size_t frames)
{
    std::vector<FLAC__int32>& samples = m_stream->samples;
    samples.assign(interleaved, interleaved + frames * size_t(m_channels));
    return FLAC__stream_encoder_process_interleaved(m_stream->encoder, samples.data(), unsigned(frames));
}

bool FlacFileWriter::Finish()
{
    return FLAC__stream_encoder_finish(m_stream->encoder);
}
