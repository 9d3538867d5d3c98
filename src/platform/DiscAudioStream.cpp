#include "platform/DiscAudioStream.h"
#include "platform/IDiscAudioSource.h"
#include <algorithm>
#include <cstring>

namespace {
// A few sectors per read keep the disc busy little and the sound output fed.
constexpr int SectorsPerRead = 8;
constexpr int SectorBytes = IDiscAudioSource::SectorBytes;
} // namespace

DiscAudioStream::DiscAudioStream(IDiscAudioSource& disc, qint64 firstFrame, qint64 endFrame)
    : m_disc(disc), m_byte(firstFrame * FrameBytes), m_endByte(std::max(firstFrame, endFrame) * FrameBytes)
{
    open(QIODevice::ReadOnly);
}

bool DiscAudioStream::atEnd() const
{
    return m_byte >= m_endByte;
}

qint64 DiscAudioStream::bytesAvailable() const
{
    return (m_endByte - m_byte) + QIODevice::bytesAvailable();
}

qint64 DiscAudioStream::readData(char* data, qint64 maxSize)
{
    qint64 copied = 0;
    while (copied < maxSize && !atEnd()) {
        if (!bufferHolds(m_byte) && !fillBufferAt(m_byte)) {
            // An unreadable sector ends the playback there.
            m_endByte = m_byte;
            break;
        }
        const qint64 bufferEnd = m_bufferStart + m_buffer.size();
        const qint64 n = std::min({maxSize - copied, bufferEnd - m_byte, m_endByte - m_byte});
        std::memcpy(data + copied, m_buffer.constData() + (m_byte - m_bufferStart), static_cast<size_t>(n));
        copied += n;
        m_byte += n;
    }
    return copied;
}

bool DiscAudioStream::bufferHolds(qint64 byte) const
{
    return byte >= m_bufferStart && byte < m_bufferStart + m_buffer.size();
}

bool DiscAudioStream::fillBufferAt(qint64 byte)
{
    const qint64 sector = byte / SectorBytes;
    const qint64 endSector = (m_endByte + SectorBytes - 1) / SectorBytes;
    const int count = static_cast<int>(std::min<qint64>(SectorsPerRead, endSector - sector));
    m_buffer.resize(static_cast<qsizetype>(count) * SectorBytes);
    m_bufferStart = sector * SectorBytes;
    if (m_disc.readSectors(static_cast<int32_t>(sector), count, m_buffer.data()))
        return true;
    m_buffer.clear();
    return false;
}
