#pragma once
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// Reads the audio of a 16-bit PCM WAV file at a rate the MP3 encoder takes.
// Opening checks every header field and raises ConvertError with a French
// text for anything else; nothing is sized from the header before the file is
// known to hold it.
class WavReader {
public:
    explicit WavReader(const QString& path);
    // The same over bytes in memory; name is the file named in messages.
    WavReader(const QByteArray& bytes, const QString& name);
    ~WavReader();
    WavReader(const WavReader&) = delete;
    WavReader& operator=(const WavReader&) = delete;

    int Channels() const { return m_channels; }
    int SampleRate() const { return m_sampleRate; }
    // Bytes of audio in the file (a header announcing more than the file
    // holds is not believed).
    int64_t DataBytes() const { return m_dataBytes; }
    // Where the audio starts in the file.
    int64_t DataOffset() const { return m_dataOffset; }
    // Sample frames of audio in the file.
    uint64_t Frames() const { return uint64_t(m_dataBytes / (2 * m_channels)); }
    // The header announced more audio than the file holds.
    bool Truncated() const { return m_truncated; }
    int64_t BytesRead() const { return m_read; }
    // Reads up to maxBytes of audio; 0 at the end.
    int64_t Read(uint8_t* buffer, int64_t maxBytes);
    // Appends the next piece of audio to pcm as samples; false at the end.
    bool Read(std::vector<int16_t>& pcm);
    // Share of the audio read so far, 0..1.
    double Fraction() const;

private:
    void readHeader();
    [[noreturn]] void notPcm16() const;
    [[noreturn]] void unacceptedRate(uint32_t rate) const;
    [[noreturn]] void inconsistent() const;
    void readFormat(uint32_t size);
    void readData(uint32_t size);
    bool readChunkHeader(QByteArray& id, uint32_t& size);

    QString m_path;
    std::unique_ptr<QIODevice> m_device;
    int m_channels = 0;
    int m_sampleRate = 0;
    int64_t m_dataBytes = 0;
    int64_t m_dataOffset = 0;
    int64_t m_read = 0;
    bool m_truncated = false;
};
