#pragma once
#include <QByteArray>
#include <QIODevice>

class IDiscAudioSource;

// A disc's audio between two sample frames, read sector by sector as the
// sound output asks for it. Opened for reading on construction.
class DiscAudioStream : public QIODevice {
public:
    static constexpr int FrameBytes = 4;

    // Frames count from the start of sector 0; end is excluded.
    DiscAudioStream(IDiscAudioSource& disc, qint64 firstFrame, qint64 endFrame);

    bool isSequential() const override { return true; }
    bool atEnd() const override;
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    bool bufferHolds(qint64 byte) const;
    bool fillBufferAt(qint64 byte);

    IDiscAudioSource& m_disc;
    qint64 m_byte;
    qint64 m_endByte;
    QByteArray m_buffer;
    qint64 m_bufferStart = 0;
};
