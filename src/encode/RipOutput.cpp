#include "encode/RipOutput.h"
#include "platform/ConversionTarget.h"
#include "platform/FileError.h"
#include "platform/FileWriteLock.h"
#include "encode/ECDRIPError.h"
#include "encode/WavHeader.h"
#include <QFileInfo>
#include <QtEndian>
#include <cerrno>

RipOutput::RipOutput(const QString& path) : m_name(path)
{
    // A device or a pipe is written in place: a rename would replace it.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        m_file.setFileName(path);
        if (!m_file.open(QIODevice::WriteOnly))
            throw FileError::CannotCreate(path, m_file.errorString());
        return;
    }
    m_lock = std::make_unique<FileWriteLock>(path);
    m_target = std::make_unique<ConversionTarget>(path);
    if (!m_file.open(m_target->Descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        throw FileError::CannotCreate(path, m_file.errorString());
}

RipOutput::RipOutput(int descriptor, const QString& name) : m_name(name)
{
    if (!m_file.open(descriptor, QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        throw FileError::CannotCreate(name, m_file.errorString());
}

RipOutput::~RipOutput() = default;

void RipOutput::Commit()
{
    // Every write was flushed: closing loses nothing.
    m_file.close();
    if (m_target)
        m_target->Commit();
}

void RipOutput::CommitAs(const QString& path)
{
    m_file.close();
    if (m_target)
        m_target->CommitAs(path);
    m_name = path;
}

QString RipOutput::DataPath() const
{
    return m_target ? m_target->DataPath() : m_name;
}

void RipOutput::writeFailed() const
{
    const int systemError = errno;
    throw ECDRIPError(FileError::CannotWrite(m_name, m_file, systemError).message());
}

void RipOutput::Write(const uint8_t* data, int64_t length)
{
    if (length <= 0)
        return;
    const qint64 done = m_file.write(reinterpret_cast<const char*>(data), length);
    if (done > 0)
        m_written += done;
    if (done != length || !m_file.flush())
        writeFailed();
}

void RipOutput::WriteWavHeader(int channels, int sampleRate, uint32_t announcedDataSize, int bits)
{
    const QByteArray header = WavHeader::Make(channels, sampleRate, announcedDataSize, bits);
    Write(reinterpret_cast<const uint8_t*>(header.constData()), header.size());
    m_headerSize = header.size();
}

void RipOutput::FixWavSizes()
{
    // A pipe keeps the sizes announced: it cannot go back.
    if (m_headerSize == 0 || !m_file.isOpen() || m_file.isSequential())
        return;
    const auto data = static_cast<uint32_t>(PayloadBytes());
    patch32(WavHeader::RiffSizeOffset, WavHeader::RiffSize(data, int(m_headerSize)));
    patch32(WavHeader::DataSizeOffset(int(m_headerSize)), data);
}

void RipOutput::WriteAt(int64_t offset, const uint8_t* data, int64_t length)
{
    if (offset + length > m_written || !m_file.seek(offset)
        || m_file.write(reinterpret_cast<const char*>(data), length) != length || !m_file.flush()
        || !m_file.seek(m_file.size()))
        writeFailed();
}

void RipOutput::patch32(qint64 offset, uint32_t value)
{
    uint8_t b[4];
    qToLittleEndian(value, b);
    WriteAt(offset, b, 4);
}
