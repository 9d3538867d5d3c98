#include "platform/FlacDecoder.h"
#include "platform/CalvenorError.h"
#include "platform/DecodeFailure.h"
#include <FLAC/stream_decoder.h>

namespace {
// Samples (all channels) decoded between two returns to the caller.
constexpr size_t PieceSamples = 64 * 1024;
constexpr int MinBits = 8;
constexpr int MaxBits = 24;
constexpr int MaxChannels = 2;
} // namespace

struct FlacDecoder::Stream {
    FLAC__StreamDecoder* decoder = FLAC__stream_decoder_new();
    ~Stream() { FLAC__stream_decoder_delete(decoder); }
};

// libFLAC is C: nothing may be thrown through it, so the callbacks note a
// fault, stop the decoder, and the caller raises once libFLAC has returned.
struct FlacDecoder::Callbacks {
    static FlacDecoder& self(void* data) { return *static_cast<FlacDecoder*>(data); }

    static FLAC__StreamDecoderReadStatus read(const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes,
                                              void* data)
    {
        FlacDecoder& d = self(data);
        const qint64 got = d.m_fault == Fault::None ? d.m_device->read(reinterpret_cast<char*>(buffer), qint64(*bytes))
                                                    : -1;
        if (got < 0 && d.m_fault == Fault::None)
            d.m_fault = Fault::CutShort;
        *bytes = got > 0 ? size_t(got) : 0;
        if (got < 0)
            return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
        return got == 0 ? FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM : FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
    }

    static FLAC__bool eof(const FLAC__StreamDecoder*, void* data) { return self(data).m_device->atEnd(); }

    static void metadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* block, void* data)
    {
        if (block->type != FLAC__METADATA_TYPE_STREAMINFO)
            return;
        FlacDecoder& d = self(data);
        const FLAC__StreamMetadata_StreamInfo& info = block->data.stream_info;
        d.m_haveInfo = true;
        d.m_sampleRate = int(info.sample_rate);
        d.m_channels = int(info.channels);
        d.m_bits = int(info.bits_per_sample);
        d.m_totalSamples = info.total_samples;
    }

    static FLAC__StreamDecoderWriteStatus write(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                                const FLAC__int32* const buffer[], void* data)
    {
        FlacDecoder& d = self(data);
        const FLAC__FrameHeader& h = frame->header;
        // Every frame must be of the format announced: it is what the output was made for.
        if (!d.m_out || int(h.channels) != d.m_channels || int(h.bits_per_sample) != d.m_bits
            || int(h.sample_rate) != d.m_sampleRate) {
            d.m_fault = Fault::Damaged;
            return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
        }
        std::vector<int32_t>& pcm = *d.m_out;
        pcm.reserve(pcm.size() + size_t(h.blocksize) * h.channels);
        for (unsigned i = 0; i < h.blocksize; ++i)
            for (unsigned c = 0; c < h.channels; ++c)
                pcm.push_back(buffer[c][i]);
        d.m_decoded += h.blocksize;
        return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    }

    static void error(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void* data)
    {
        FlacDecoder& d = self(data);
        // Bytes after all the announced audio (an ID3v1 trailer) harm nothing.
        if (d.m_totalSamples != 0 && d.m_decoded == d.m_totalSamples)
            return;
        if (d.m_fault == Fault::None)
            d.m_fault = Fault::Damaged;
    }
};

FlacDecoder::FlacDecoder(std::unique_ptr<QIODevice> device, const QString& name)
    : m_name(name), m_device(std::move(device)), m_stream(std::make_unique<Stream>())
{
    FLAC__StreamDecoder* decoder = m_stream->decoder;
    if (!decoder || !FLAC__stream_decoder_set_md5_checking(decoder, true)
        || FLAC__stream_decoder_init_stream(decoder, Callbacks::read, nullptr, nullptr, nullptr, Callbacks::eof,
                                            Callbacks::write, Callbacks::metadata, Callbacks::error, this)
            != FLAC__STREAM_DECODER_INIT_STATUS_OK)
        throw CalvenorError(QStringLiteral("Le décodeur FLAC n'a pas pu démarrer."));
    // Anything before STREAMINFO, or a stream without it, is not a file we can read.
    if (!FLAC__stream_decoder_process_until_end_of_metadata(decoder) || !m_haveInfo || m_fault != Fault::None)
        throw CalvenorError(DecodeFailure::Unreadable(m_name, QStringLiteral("FLAC")));
    if (m_bits < MinBits || m_bits > MaxBits)
        throw CalvenorError(QStringLiteral("Le fichier \"%1\" est en %2 bits : seuls les fichiers FLAC de 8 à 24 "
                                           "bits peuvent être convertis.")
                                .arg(m_name)
                                .arg(m_bits));
    if (m_channels > MaxChannels)
        throw CalvenorError(DecodeFailure::TooManyChannels(m_name, m_channels));
}

FlacDecoder::~FlacDecoder() = default;

bool FlacDecoder::atEnd() const
{
    return FLAC__stream_decoder_get_state(m_stream->decoder) == FLAC__STREAM_DECODER_END_OF_STREAM;
}

bool FlacDecoder::Read(std::vector<int32_t>& pcm)
{
    if (m_finished)
        return false;
    const size_t before = pcm.size();
    m_out = &pcm;
    while (pcm.size() - before < PieceSamples && !atEnd()) {
        if (!FLAC__stream_decoder_process_single(m_stream->decoder) || m_fault != Fault::None) {
            m_out = nullptr;
            raise();
        }
    }
    m_out = nullptr;
    if (pcm.size() != before)
        return true;
    checkWhole();
    return false;
}

void FlacDecoder::checkWhole()
{
    m_finished = true;
    if (m_totalSamples != 0 && m_decoded != m_totalSamples)
        m_fault = Fault::Damaged;
    // finish compares the audio with STREAMINFO's MD5 (when it has one).
    if (!FLAC__stream_decoder_finish(m_stream->decoder))
        m_fault = Fault::Damaged;
    if (m_fault != Fault::None)
        raise();
}

void FlacDecoder::raise() const
{
    throw CalvenorError(m_fault == Fault::CutShort ? DecodeFailure::CutShort(m_name) : DecodeFailure::Damaged(m_name));
}

double FlacDecoder::Fraction() const
{
    const qint64 size = m_device->size();
    return size > 0 ? double(m_device->pos()) / double(size) : 1.0;
}
