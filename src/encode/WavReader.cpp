#include "encode/WavReader.h"
#include "encode/ConvertError.h"
#include "encode/PcmBytes.h"
#include "encode/SourceDevice.h"
#include "platform/DecodeFailure.h"
#include <QtEndian>

namespace {
constexpr uint16_t FormatPcm = 1;
constexpr uint16_t FormatExtensible = 0xFFFE;
// The extensible block's size and where its fields lie.
constexpr uint32_t ExtensibleSize = 40;
constexpr int ValidBitsAt = 18;
constexpr int SubFormatAt = 24;
// Keeps a hostile header from making us read a huge format block.
constexpr uint32_t LargestFormatChunk = 1024;
// RF64: the 32-bit sizes say "see ds64", whose data size is 16 bytes in.
constexpr uint32_t SizeInDs64 = 0xFFFFFFFF;
constexpr uint32_t Ds64Size = 24;
constexpr int Ds64DataSizeAt = 8;
constexpr int MinBits = 8;
constexpr int MaxBits = 24;
constexpr int MaxContainerBits = 32;
// FLAC's highest rate: no target goes beyond it.
constexpr uint32_t MaxRate = 1048575;
// Sample frames given at a time.
constexpr int64_t PieceFrames = 16 * 1024;

uint16_t le16(const QByteArray& b, int at)
{
    return qFromLittleEndian<uint16_t>(b.constData() + at);
}

uint32_t le32(const QByteArray& b, int at)
{
    return qFromLittleEndian<uint32_t>(b.constData() + at);
}
} // namespace

struct WavReader::Format {
    uint16_t tag;
    int channels;
    uint32_t rate;
    int containerBits;
    int validBits;
    uint16_t blockAlign;
    uint32_t byteRate;
};

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
    if (riff.size() < 12 || !(riff.startsWith("RIFF") || riff.startsWith("RF64")) || riff.mid(8, 4) != "WAVE")
        notPcm();
    m_rf64 = riff.startsWith("RF64");
    QByteArray id;
    uint32_t size = 0;
    while (readChunkHeader(id, size)) {
        if (id == "fmt ") {
            readFormat(size);
        } else if (id == "ds64" && m_rf64) {
            readSizes64(size);
        } else if (id == "data") {
            readData(size);
            return;
        } else if (!m_device->seek(m_device->pos() + size + (size & 1)) || m_device->atEnd()) {
            break;
        }
    }
    notPcm();
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
        notPcm();
    const QByteArray fmt = m_device->read(size + (size & 1));
    if (fmt.size() < int(size))
        notPcm();
    Format format{le16(fmt, 0), le16(fmt, 2), le32(fmt, 4), le16(fmt, 14), le16(fmt, 14), le16(fmt, 12),
                  le32(fmt, 8)};
    // The extensible form names its real format in the first two bytes of
    // its sub-format, and may hold fewer valid bits than its container.
    if (format.tag == FormatExtensible && size >= ExtensibleSize) {
        format.tag = le16(fmt, SubFormatAt);
        format.validBits = le16(fmt, ValidBitsAt) > 0 ? le16(fmt, ValidBitsAt) : format.containerBits;
    }
    checkFormat(format);
    m_channels = format.channels;
    m_sampleRate = int(format.rate);
    m_containerBits = format.containerBits;
    m_validBits = format.validBits;
}

void WavReader::checkFormat(const Format& f) const
{
    const bool wholeBytes = f.containerBits == PcmBytes::ContainerBits(f.containerBits);
    const bool bitsFit = f.validBits >= MinBits && f.validBits <= MaxBits && f.validBits <= f.containerBits;
    if (f.tag != FormatPcm || f.channels < 1 || !wholeBytes || f.containerBits > MaxContainerBits || !bitsFit
        || f.rate == 0)
        notPcm();
    if (f.channels > 2)
        throw ConvertError(DecodeFailure::TooManyChannels(m_path, f.channels));
    if (f.rate > MaxRate)
        throw ConvertError(QStringLiteral("Le fichier \"%1\" est échantillonné à %2 Hz : aucun format ne va au-delà "
                                          "de %3 Hz.")
                               .arg(m_path)
                               .arg(f.rate)
                               .arg(MaxRate));
    const int blockAlign = f.channels * f.containerBits / 8;
    if (f.blockAlign != blockAlign || f.byteRate != f.rate * uint32_t(blockAlign))
        inconsistent();
}

void WavReader::readSizes64(uint32_t size)
{
    if (size < Ds64Size)
        notPcm();
    // Only the sizes are needed: the rest of the chunk (a table of other
    // chunks' sizes, as long as the header claims) is passed over, never read.
    const QByteArray ds64 = m_device->read(Ds64Size);
    if (ds64.size() < int(Ds64Size) || !m_device->seek(m_device->pos() + int64_t(size) - Ds64Size + (size & 1)))
        notPcm();
    m_dataSize64 = qFromLittleEndian<quint64>(ds64.constData() + Ds64DataSizeAt);
}

void WavReader::readData(uint32_t size)
{
    if (m_channels == 0)
        notPcm();
    const uint64_t announced = m_rf64 && size == SizeInDs64 ? m_dataSize64 : size;
    if (announced == 0)
        throw ConvertError(QStringLiteral("Le bloc de données du fichier \"%1\" annonce 0 octet : le fichier ne "
                                          "contient aucun son.")
                               .arg(m_path));
    m_dataOffset = m_device->pos();
    const int64_t rest = m_device->size() - m_dataOffset;
    m_truncated = announced > uint64_t(rest);
    m_dataBytes = m_truncated ? rest : int64_t(announced);
    m_dataBytes -= m_dataBytes % frameBytes();
}

void WavReader::notPcm() const
{
    throw ConvertError(QStringLiteral("Le fichier \"%1\" n'est pas un fichier WAV PCM de 8 à 24 bits.").arg(m_path));
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

bool WavReader::Read(std::vector<int32_t>& samples)
{
    std::vector<uint8_t> bytes(size_t(PieceFrames * frameBytes()));
    int64_t got = 0;
    // A read may stop inside a frame: the frame is completed first.
    do {
        const int64_t more = Read(bytes.data() + got, int64_t(bytes.size()) - got);
        if (more == 0)
            break;
        got += more;
    } while (got % frameBytes() != 0);
    const int width = m_containerBits / 8;
    PcmBytes::Decode(bytes.data(), size_t(got / width), m_containerBits, m_validBits, samples);
    return got > 0;
}

double WavReader::Fraction() const
{
    return m_dataBytes > 0 ? double(m_read) / double(m_dataBytes) : 1.0;
}
