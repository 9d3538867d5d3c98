#include "encode/WavReader.h"
#include "encode/SourceDevice.h"
#include "encode/ConvertError.h"
#include "platform/DecodeFailure.h"
#include "platform/IEncoderLibrary.h"
#include <QStringList>
#include <QtEndian>

namespace {
constexpr uint16_t FormatPcm = 1;
constexpr uint16_t FormatExtensible = 0xFFFE;
// Keeps a hostile header from making us read a huge format block.
constexpr uint32_t LargestFormatChunk = 1024;
// Streaming writers that cannot seek back leave the data size at 0.
constexpr uint32_t UnknownDataSize = 0;
// Bytes of audio given as samples at a time (a whole number of frames).
constexpr int64_t PieceBytes = 64 * 1024;

uint16_t le16(const QByteArray& b, int at)
{
    return qFromLittleEndian<uint16_t>(b.constData() + at);
}

uint32_t le32(const QByteArray& b, int at)
{
    return qFromLittleEndian<uint32_t>(b.constData() + at);
}
} // namespace

WavReader::WavReader(const QString& path) : m_path(path), m_device(SourceDevice::Open(path))
{
    readHeader();
}

WavReader::WavReader(const QByteArray& bytes, const QString& name) : m_path(name), m_device(SourceDevice::Over(bytes))
{
    readHeader();
}

WavReader::~WavReader() = default;

void WavReader::readHeader()
{
    const QByteArray riff = m_device->read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        notPcm16();
    QByteArray id;
    uint32_t size = 0;
    while (readChunkHeader(id, size)) {
        if (id == "fmt ") {
            readFormat(size);
        } else if (id == "data") {
            readData(size);
            return;
        } else if (!m_device->seek(m_device->pos() + size + (size & 1)) || m_device->atEnd()) {
            break;
        }
    }
    notPcm16();
}

bool WavReader::readChunkHeader(QByteArray& id, uint32_t& size)
{
    const QByteArray header = m_device->read(8);
    if (header.size() < 8)
        return false;
    id = header.left(4);
    size = le32(header, 4);
    return true;
}

void WavReader::readFormat(uint32_t size)
{
    if (size < 16 || size > LargestFormatChunk)
        notPcm16();
    const QByteArray fmt = m_device->read(size + (size & 1));
    if (fmt.size() < int(size))
        notPcm16();
    uint16_t format = le16(fmt, 0);
    // The extensible form names its real format in the first two bytes of its sub-format.
    if (format == FormatExtensible && size >= 40)
        format = le16(fmt, 24);
    const int channels = le16(fmt, 2);
    const uint32_t rate = le32(fmt, 4);
    const int bits = le16(fmt, 14);
    if (format != FormatPcm || bits != 16 || channels < 1)
        notPcm16();
    if (channels > 2)
        throw ConvertError(QStringLiteral("Le fichier \"%1\" a %2 canaux : seuls les fichiers mono et stéréo "
                                          "peuvent être convertis.")
                               .arg(m_path)
                               .arg(channels));
    if (!BeConfig::AcceptsSampleRate(rate))
        unacceptedRate(rate);
    const int blockAlign = channels * 2;
    if (le16(fmt, 12) != blockAlign || le32(fmt, 8) != rate * uint32_t(blockAlign))
        inconsistent();
    m_channels = channels;
    m_sampleRate = int(rate);
}

void WavReader::readData(uint32_t size)
{
    if (m_channels == 0)
        notPcm16();
    m_dataOffset = m_device->pos();
    const int64_t rest = m_device->size() - m_dataOffset;
    m_truncated = size != UnknownDataSize && size > rest;
    m_dataBytes = size == UnknownDataSize ? rest : qMin<int64_t>(size, rest);
    m_dataBytes -= m_dataBytes % (m_channels * 2);
}

void WavReader::notPcm16() const
{
    throw ConvertError(QStringLiteral("Le fichier \"%1\" n'est pas un fichier WAV PCM 16 bits.").arg(m_path));
}

void WavReader::unacceptedRate(uint32_t rate) const
{
    QStringList rates;
    for (uint32_t accepted : BeConfig::SampleRates)
        rates << QString::number(accepted);
    throw ConvertError(QStringLiteral("Le fichier \"%1\" est échantillonné à %2 Hz : l'encodeur MP3 n'accepte que "
                                      "%3 et %4 Hz.")
                           .arg(m_path)
                           .arg(rate)
                           .arg(rates.mid(0, rates.size() - 1).join(QStringLiteral(", ")), rates.last()));
}

void WavReader::inconsistent() const
{
    throw ConvertError(QStringLiteral("L'en-tête du fichier \"%1\" est incohérent : sa fréquence, son débit et "
                                      "sa taille de bloc ne s'accordent pas.")
                           .arg(m_path));
}

int64_t WavReader::Read(uint8_t* buffer, int64_t maxBytes)
{
    const int64_t wanted = qMin(maxBytes, m_dataBytes - m_read);
    if (wanted <= 0)
        return 0;
    const int64_t got = m_device->read(reinterpret_cast<char*>(buffer), wanted);
    if (got <= 0)
        throw ConvertError(DecodeFailure::CutShort(m_path));
    m_read += got;
    return got;
}

bool WavReader::Read(std::vector<int16_t>& pcm)
{
    std::vector<uint8_t> bytes(PieceBytes);
    const int64_t got = Read(bytes.data(), PieceBytes);
    const size_t at = pcm.size();
    pcm.resize(at + size_t(got / 2));
    qFromLittleEndian<int16_t>(bytes.data(), qsizetype(got / 2), pcm.data() + at);
    return got > 0;
}

double WavReader::Fraction() const
{
    return m_dataBytes > 0 ? double(m_read) / double(m_dataBytes) : 1.0;
}
