#pragma once
#include <QFile>
#include <QString>
#include <cstdint>

// Reads the audio of a 16-bit PCM WAV file. Opening checks the format and
// raises ConvertError with a French text for anything else.
class WavReader {
public:
    explicit WavReader(const QString& path);
    WavReader(const WavReader&) = delete;
    WavReader& operator=(const WavReader&) = delete;

    int Channels() const { return m_channels; }
    int SampleRate() const { return m_sampleRate; }
    // Bytes of audio in the file (a header announcing more than the file
    // holds is not believed).
    int64_t DataBytes() const { return m_dataBytes; }
    int64_t BytesRead() const { return m_read; }
    // Reads up to maxBytes of audio; 0 at the end.
    int64_t Read(uint8_t* buffer, int64_t maxBytes);

private:
    [[noreturn]] void notPcm16() const;
    void readFormat(uint32_t size);
    bool readChunkHeader(QByteArray& id, uint32_t& size);

    QString m_path;
    QFile m_file;
    int m_channels = 0;
    int m_sampleRate = 0;
    int64_t m_dataBytes = 0;
    int64_t m_read = 0;
};
