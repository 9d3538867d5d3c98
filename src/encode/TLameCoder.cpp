#include "encode/TLameCoder.h"
#include "platform/IEncoderLibrary.h"
#include "platform/PathText.h"
#include <cstring>

namespace {
constexpr uint32_t ConfigVersion = 1;
constexpr uint32_t MpegVersion1 = 1;

void put32(std::array<uint8_t, TLameCoder::ConfigSize>& record, int offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        record[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}
} // namespace

TLameVersion::TLameVersion(IEncoderLibrary& library)
{
    library.beVersion(m_record.data());
}

void TLameVersion::Assign(const TLameVersion& other)
{
    std::memcpy(m_record.data(), other.m_record.data(), 4);
}

TLameCoder::TLameCoder(IEncoderLibrary& library) : m_library(library), m_version(library) {}

TLameCoder::~TLameCoder() = default;

void TLameCoder::Assign(const TLameCoder& other)
{
    m_s = other.m_s;
}

void TLameCoder::SetInputFiles(const QStringList& files)
{
    m_inputFiles = files;
    m_outputFiles.clear();
    for (const QString& f : files)
        m_outputFiles << PathText::WithExtension(f, m_defaultExt);
}

std::array<uint8_t, TLameCoder::ConfigSize> TLameCoder::ConfigRecord() const
{
    std::array<uint8_t, ConfigSize> r{};
    put32(r, BeConfig::Kind, BeConfig::KindLame);
    put32(r, BeConfig::Version, ConfigVersion);
    put32(r, BeConfig::StructSize, ConfigSize);
    put32(r, BeConfig::SampleRate, m_s.sampleRate);
    put32(r, BeConfig::OutSampleRate, 0);
    put32(r, BeConfig::Mode, static_cast<uint32_t>(m_s.mode));
    put32(r, BeConfig::Bitrate, m_s.bitrate);
    put32(r, BeConfig::MaxBitrate, m_s.maxBitrate);
    put32(r, BeConfig::Quality, m_s.quality);
    put32(r, BeConfig::MpegVersion, MpegVersion1);
    put32(r, BeConfig::PsyModel, 0);
    put32(r, BeConfig::Emphasis, 0);
    put32(r, BeConfig::Private, static_cast<uint32_t>(m_s.privateBit));
    put32(r, BeConfig::CRC, static_cast<uint32_t>(m_s.crc));
    put32(r, BeConfig::Copyright, static_cast<uint32_t>(m_s.copyright));
    put32(r, BeConfig::Original, static_cast<uint32_t>(m_s.original));
    put32(r, BeConfig::WriteVBRHeader, static_cast<uint32_t>(m_s.writeVBRHeader));
    put32(r, BeConfig::EnableVBR, static_cast<uint32_t>(m_s.enableVBR));
    put32(r, BeConfig::VBRQuality, static_cast<uint32_t>(m_s.vbrQuality));
    return r;
}

uint32_t TLameCoder::InitStream()
{
    const auto record = ConfigRecord();
    uint32_t result = m_library.beInitStream(record.data(), &m_samplesPerChunk, &m_outputBufferSize, &m_streamHandle);
    if (result == 0)
        m_outputBuffer.assign(m_outputBufferSize, 0);
    return result;
}

uint32_t TLameCoder::EncodeChunk(const int16_t* pcm, uint8_t* output, uint32_t* outputLength)
{
    return m_library.beEncodeChunk(m_streamHandle, m_samplesPerChunk, pcm, output, outputLength);
}

uint32_t TLameCoder::EncodeLastChunk(const int16_t* pcm, uint32_t samples, uint8_t* output, uint32_t* outputLength)
{
    return m_library.beEncodeChunk(m_streamHandle, samples, pcm, output, outputLength);
}

uint32_t TLameCoder::DeinitStream(uint8_t* output, uint32_t* outputLength)
{
    return m_library.beDeinitStream(m_streamHandle, output, outputLength);
}

uint32_t TLameCoder::InfoTag(uint8_t* output, uint32_t* outputLength)
{
    return m_library.beInfoTag(m_streamHandle, output, outputLength);
}

uint32_t TLameCoder::CloseStream()
{
    m_outputBuffer.clear();
    m_outputBuffer.shrink_to_fit();
    return m_library.beCloseStream(m_streamHandle);
}
