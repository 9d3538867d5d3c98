#include "encode/Mp3Source.h"
#include "encode/SourceDevice.h"
#include "encode/ConvertError.h"
#include "platform/DecodeFailure.h"

namespace {
// Bytes handed to the decoder at a time.
constexpr int PieceBytes = 64 * 1024;
} // namespace

Mp3Source::Mp3Source(const QString& path) : m_path(path), m_device(SourceDevice::Open(path))
{
    open();
}

Mp3Source::Mp3Source(const QByteArray& bytes, const QString& name) : m_path(name), m_device(SourceDevice::Over(bytes))
{
    open();
}

Mp3Source::~Mp3Source() = default;

void Mp3Source::open()
{
    m_span = Mp3AudioSpan::Locate(*m_device);
    if (m_span.begin == m_span.end)
        unreadable();
    m_position = m_span.begin;
    m_piece.resize(PieceBytes);
    // Decode up to the first audio before anything is created.
    bool decoded = true;
    while (m_pending.empty() && !m_atEnd && decoded)
        decoded = decodeNextPiece();
    if (!decoded || m_pending.empty() || !m_decoder.HeaderParsed())
        unreadable();
    m_channels = m_decoder.Channels();
    m_sampleRate = m_decoder.SampleRate();
}

bool Mp3Source::decodeNextPiece()
{
    const int64_t wanted = qMin<int64_t>(PieceBytes, m_span.end - m_position);
    int64_t got = 0;
    if (wanted > 0) {
        if (!m_device->seek(m_position) || (got = m_device->read(reinterpret_cast<char*>(m_piece.data()), wanted)) <= 0)
            throw ConvertError(DecodeFailure::CutShort(m_path));
    }
    m_position += got;
    m_atEnd = got == 0; // an empty piece empties the decoder
    std::vector<int16_t> pcm;
    if (!m_decoder.Decode(m_piece.data(), size_t(got), pcm))
        return false;
    // The LAME tag, when there is one, is the first frame: known before any audio.
    if (!m_trim.Started() && m_decoder.HeaderParsed())
        m_trim.Start(m_decoder.Channels(), m_decoder.EncoderDelay(), m_decoder.EncoderPadding(),
                     m_decoder.HeaderFrameCount(), m_decoder.FrameSamples());
    if (m_trim.Started())
        m_trim.Apply(pcm);
    m_pending.insert(m_pending.end(), pcm.begin(), pcm.end());
    return true;
}

bool Mp3Source::Read(std::vector<int16_t>& pcm)
{
    while (m_pending.empty() && !m_atEnd) {
        if (!decodeNextPiece() || m_decoder.Channels() != m_channels || m_decoder.SampleRate() != m_sampleRate)
            damaged();
    }
    if (m_pending.empty())
        return false;
    pcm.insert(pcm.end(), m_pending.begin(), m_pending.end());
    m_pending.clear();
    return true;
}

bool Mp3Source::Read(std::vector<int32_t>& samples)
{
    std::vector<int16_t> pcm;
    if (!Read(pcm))
        return false;
    samples.insert(samples.end(), pcm.begin(), pcm.end());
    return true;
}

double Mp3Source::Fraction() const
{
    const int64_t total = m_span.end - m_span.begin;
    return total > 0 ? double(m_position - m_span.begin) / double(total) : 1.0;
}

uint64_t Mp3Source::Frames() const
{
    const int64_t length = GaplessTrim::Length(m_decoder.EncoderDelay(), m_decoder.EncoderPadding(),
                                               m_decoder.HeaderFrameCount(), m_decoder.FrameSamples());
    return length > 0 ? uint64_t(length) : 0;
}

void Mp3Source::unreadable() const
{
    throw ConvertError(DecodeFailure::Unreadable(m_path, QStringLiteral("MP3")));
}

void Mp3Source::damaged() const
{
    throw ConvertError(DecodeFailure::Damaged(m_path));
}
