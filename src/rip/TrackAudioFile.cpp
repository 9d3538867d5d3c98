#include "rip/TrackAudioFile.h"
#include "encode/FileFormat.h"
#include "encode/SourceDevice.h"
#include "encode/WavReader.h"
#include "platform/CalvenorError.h"
#include "platform/FlacDecoder.h"
#include "platform/FlacTag.h"
#include <QtEndian>

namespace {
constexpr int CdChannels = 2;
constexpr int CdRate = 44100;
constexpr int CdBits = 16;
constexpr int64_t PieceBytes = 1 << 20;

[[noreturn]] void notCdAudio(const QString& path)
{
    throw CalvenorError(QStringLiteral("Le fichier « %1 » ne contient pas l'audio d'un CD (16 bits, stéréo, 44100 Hz).")
                            .arg(path));
}
} // namespace

bool TrackAudioFile::IsWav(const QString& path)
{
    return path.endsWith(ExtensionOf(FileFormat::Wav), Qt::CaseInsensitive);
}

bool TrackAudioFile::Lossless(const QString& path)
{
    return IsWav(path) || FlacTag::IsFlac(path);
}

TrackAudioFile::TrackAudioFile(const QString& path) : m_path(path)
{
    if (IsWav(path)) {
        m_wav = std::make_unique<WavReader>(path);
        if (m_wav->Channels() != CdChannels || m_wav->SampleRate() != CdRate || m_wav->BitsPerSample() != CdBits
            || m_wav->Truncated())
            notCdAudio(path);
        m_bytes = m_wav->DataBytes();
    } else if (Lossless(path)) {
        m_flac = std::make_unique<FlacDecoder>(SourceDevice::Open(path), path);
        if (m_flac->Channels() != CdChannels || m_flac->SampleRate() != CdRate || m_flac->BitsPerSample() != CdBits)
            notCdAudio(path);
        m_bytes = static_cast<int64_t>(m_flac->Frames()) * CdChannels * 2;
    } else {
        notCdAudio(path);
    }
}

TrackAudioFile::~TrackAudioFile() = default;

int64_t TrackAudioFile::WavDataOffset() const
{
    return m_wav ? m_wav->DataOffset() : -1;
}

bool TrackAudioFile::Read(std::vector<uint8_t>& pcm)
{
    if (m_wav) {
        pcm.resize(PieceBytes);
        pcm.resize(static_cast<size_t>(m_wav->Read(pcm.data(), PieceBytes)));
        return !pcm.empty();
    }
    m_samples.clear();
    const bool more = m_flac->Read(m_samples);
    // 16-bit samples, as the check at the start made sure.
    pcm.resize(2 * m_samples.size());
    for (size_t k = 0; k < m_samples.size(); ++k)
        qToLittleEndian<int16_t>(static_cast<int16_t>(m_samples[k]), pcm.data() + 2 * k);
    return more || !pcm.empty();
}
