#include "platform/FlacEncoder.h"
#include "platform/CalvenorError.h"
#include "platform/IEncodedOutput.h"
#include <FLAC/metadata.h>
#include <FLAC/stream_encoder.h>
#include <QString>
#include <algorithm>

namespace {
constexpr unsigned SeekPointSeconds = 10;
// Room for the tags written once the file is complete.
constexpr unsigned PaddingBytes = 4096;
} // namespace

// libFLAC's objects, deleted in this order: the encoder still points to
// the metadata blocks.
struct FlacEncoder::Handles {
    FLAC__StreamEncoder* encoder = FLAC__stream_encoder_new();
    FLAC__StreamMetadata* seekTable = FLAC__metadata_object_new(FLAC__METADATA_TYPE_SEEKTABLE);
    FLAC__StreamMetadata* padding = FLAC__metadata_object_new(FLAC__METADATA_TYPE_PADDING);
    Handles() = default;
    Handles(const Handles&) = delete;
    Handles& operator=(const Handles&) = delete;
    ~Handles()
    {
        // An unfinished stream is dropped: the file it went to is not kept.
        if (encoder)
            FLAC__stream_encoder_delete(encoder);
        if (seekTable)
            FLAC__metadata_object_delete(seekTable);
        if (padding)
            FLAC__metadata_object_delete(padding);
    }
};

// libFLAC's C callbacks; an exception of the output is kept and raised again
// once libFLAC has returned.
struct FlacEncoder::Callbacks {
    static FLAC__StreamEncoderWriteStatus write(const FLAC__StreamEncoder*, const FLAC__byte buffer[], size_t bytes,
                                                uint32_t, uint32_t, void* data)
    {
        auto* self = static_cast<FlacEncoder*>(data);
        try {
            self->writeBytes(buffer, static_cast<int64_t>(bytes));
            return FLAC__STREAM_ENCODER_WRITE_STATUS_OK;
        } catch (...) {
            self->m_outputError = std::current_exception();
            return FLAC__STREAM_ENCODER_WRITE_STATUS_FATAL_ERROR;
        }
    }
    static FLAC__StreamEncoderSeekStatus seek(const FLAC__StreamEncoder*, FLAC__uint64 offset, void* data)
    {
        auto* self = static_cast<FlacEncoder*>(data);
        if (offset > static_cast<FLAC__uint64>(self->m_size))
            return FLAC__STREAM_ENCODER_SEEK_STATUS_ERROR;
        self->m_position = static_cast<int64_t>(offset);
        return FLAC__STREAM_ENCODER_SEEK_STATUS_OK;
    }
    static FLAC__StreamEncoderTellStatus tell(const FLAC__StreamEncoder*, FLAC__uint64* offset, void* data)
    {
        *offset = static_cast<FLAC__uint64>(static_cast<FlacEncoder*>(data)->m_position);
        return FLAC__STREAM_ENCODER_TELL_STATUS_OK;
    }
};

FlacEncoder::FlacEncoder(IEncodedOutput& output, int channels, int sampleRate, int level, uint64_t expectedFrames,
                         int bitsPerSample)
    : m_output(output), m_channels(channels), m_handles(std::make_unique<Handles>())
{
    if (!m_handles->encoder || !m_handles->seekTable || !m_handles->padding)
        throw CalvenorError(QStringLiteral("L'encodeur FLAC n'a pas pu être créé (mémoire insuffisante)."));
    FLAC__StreamEncoder* const encoder = m_handles->encoder;
    FLAC__StreamMetadata* const padding = m_handles->padding;
    FLAC__StreamMetadata* const seekTable = m_handles->seekTable;
    FLAC__stream_encoder_set_verify(encoder, true);
    FLAC__stream_encoder_set_compression_level(encoder, static_cast<uint32_t>(std::clamp(level, MinLevel, MaxLevel)));
    FLAC__stream_encoder_set_channels(encoder, static_cast<uint32_t>(channels));
    FLAC__stream_encoder_set_bits_per_sample(encoder, static_cast<uint32_t>(bitsPerSample));
    FLAC__stream_encoder_set_sample_rate(encoder, static_cast<uint32_t>(sampleRate));
    FLAC__stream_encoder_set_total_samples_estimate(encoder, expectedFrames);

    padding->length = PaddingBytes;
    FLAC__StreamMetadata* blocks[2] = {seekTable, padding};
    // Placeholders every few seconds, which libFLAC fills as it finishes.
    const bool seekable = expectedFrames > 0
        && FLAC__metadata_object_seektable_template_append_spaced_points_by_samples(
               seekTable, SeekPointSeconds * static_cast<uint32_t>(sampleRate), expectedFrames)
        && FLAC__metadata_object_seektable_template_sort(seekTable, true);
    if (seekable)
        FLAC__stream_encoder_set_metadata(encoder, blocks, 2);
    else
        FLAC__stream_encoder_set_metadata(encoder, blocks + 1, 1);

    const FLAC__StreamEncoderInitStatus status = FLAC__stream_encoder_init_stream(
        encoder, &Callbacks::write, &Callbacks::seek, &Callbacks::tell, nullptr, this);
    if (status != FLAC__STREAM_ENCODER_INIT_STATUS_OK) {
        if (m_outputError)
            std::rethrow_exception(m_outputError);
        throw CalvenorError(QStringLiteral("L'encodeur FLAC refuse ces réglages : %1.")
                                .arg(QString::fromLatin1(FLAC__StreamEncoderInitStatusString[status])));
    }
}

FlacEncoder::~FlacEncoder() = default;

void FlacEncoder::Encode(const uint8_t* pcm, int64_t frames)
{
    if (frames <= 0)
        return;
    const size_t count = static_cast<size_t>(frames) * static_cast<size_t>(m_channels);
    m_samples.resize(count);
    for (size_t i = 0; i < count; ++i)
        m_samples[i] = static_cast<int16_t>(static_cast<uint16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8)));
    encodeSamples(frames);
}

void FlacEncoder::Encode(const int16_t* samples, int64_t frames)
{
    if (frames <= 0)
        return;
    m_samples.assign(samples, samples + static_cast<size_t>(frames) * static_cast<size_t>(m_channels));
    encodeSamples(frames);
}

void FlacEncoder::Encode(const int32_t* samples, int64_t frames)
{
    if (frames <= 0)
        return;
    m_samples.assign(samples, samples + static_cast<size_t>(frames) * static_cast<size_t>(m_channels));
    encodeSamples(frames);
}

void FlacEncoder::encodeSamples(int64_t frames)
{
    check(FLAC__stream_encoder_process_interleaved(m_handles->encoder, m_samples.data(), static_cast<uint32_t>(frames)));
}

void FlacEncoder::Finish()
{
    check(FLAC__stream_encoder_finish(m_handles->encoder));
}

void FlacEncoder::check(bool ok)
{
    if (!ok)
        fail();
}

void FlacEncoder::fail()
{
    if (m_outputError)
        std::rethrow_exception(m_outputError);
    const FLAC__StreamEncoderState state = FLAC__stream_encoder_get_state(m_handles->encoder);
    if (state == FLAC__STREAM_ENCODER_VERIFY_MISMATCH_IN_AUDIO_DATA)
        throw CalvenorError(QStringLiteral("La vérification FLAC a échoué : le flux relu diffère de l'audio reçu."));
    throw CalvenorError(QStringLiteral("L'encodage FLAC a échoué : %1.")
                            .arg(QString::fromLatin1(FLAC__StreamEncoderStateString[state])));
}

void FlacEncoder::writeBytes(const uint8_t* data, int64_t length)
{
    // libFLAC goes back only to complete the header: those bytes are
    // rewritten in place, everything else is appended.
    const int64_t over = std::min(length, m_size - m_position);
    if (over > 0)
        m_output.WriteAt(m_position, data, over);
    if (length > over)
        m_output.Write(data + over, length - over);
    m_position += length;
    m_size = std::max(m_size, m_position);
}
