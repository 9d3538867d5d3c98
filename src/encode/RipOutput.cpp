#include "encode/RipOutput.h"
#include "platform/FileError.h"
#include "encode/ECDRIPError.h"
#include "encode/WavHeader.h"
#include <QtEndian>

RipOutput::RipOutput(const QString& path) : m_file(path)
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw FileError::CannotCreate(path, m_file.errorString());
}

RipOutput::RipOutput(int descriptor, const QString& name)
{
    if (!m_file.open(descriptor, QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        throw FileError::CannotCreate(name, m_file.errorString());
}

void RipOutput::Write(const uint8_t* data, int64_t length)
{
    if (length <= 0)
        return;
    const qint64 done = m_file.write(reinterpret_cast<const char*>(data), length);
    if (done > 0)
        m_written += done;
    if (done != length || !m_file.flush())
        throw ECDRIPError(FileError::CannotWrite(m_file).message());
}

void RipOutput::WriteWavHeader(int channels, int sampleRate, uint32_t announcedDataSize)
{
    const QByteArray header = WavHeader::Make(channels, sampleRate, announcedDataSize);
    Write(reinterpret_cast<const uint8_t*>(header.constData()), header.size());
    m_headerSize = header.size();
}

void RipOutput::FixWavSizes()
{
    if (m_headerSize == 0 || !m_file.isOpen())
        return;
    const auto data = static_cast<uint32_t>(PayloadBytes());
    patch32(WavHeader::RiffSizeOffset, WavHeader::RiffSize(data));
    patch32(WavHeader::DataSizeOffset, data);
}

void RipOutput::WriteAt(int64_t offset, const uint8_t* data, int64_t length)
{
    if (offset + length > m_written || !m_file.seek(offset)
        || m_file.write(reinterpret_cast<const char*>(data), length) != length || !m_file.flush()
        || !m_file.seek(m_file.size()))
        throw ECDRIPError(FileError::CannotWrite(m_file).message());
}

void RipOutput::patch32(qint64 offset, uint32_t value)
{
    uint8_t b[4];
    qToLittleEndian(value, b);
    WriteAt(offset, b, 4);
}
