#pragma once
#include "platform/IPcmSource.h"
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// Reads the audio of a PCM WAV file: 8 to 24 bits, mono or stereo, any
// rate, in a RIFF file or, past 4 GB, an RF64 one; the format block plain
// or WAVE_FORMAT_EXTENSIBLE. Opening checks every header field and raises
// ConvertError with a French text for anything else; nothing is sized from
// the header before the file is known to hold it.
class WavReader : public IPcmSource {
public:
    explicit WavReader(const QString& path);
    // The same over bytes in memory; name is the file named in messages.
    WavReader(const QByteArray& bytes, const QString& name);
    ~WavReader() override;
    WavReader(const WavReader&) = delete;
    WavReader& operator=(const WavReader&) = delete;

    int Channels() const override { return m_channels; }
    int SampleRate() const override { return m_sampleRate; }
    // The bits that carry the sample; the file may hold them in a wider container.
    int BitsPerSample() const override { return m_validBits; }
    // Bytes of audio in the file (a header announcing more than the file
    // holds is not believed), in whole sample frames.
    int64_t DataBytes() const { return m_dataBytes; }
    // Where the audio starts in the file.
    int64_t DataOffset() const { return m_dataOffset; }
    uint64_t Frames() const override { return uint64_t(m_dataBytes / frameBytes()); }
    // The header announced more audio than the file holds.
    bool Truncated() const { return m_truncated; }
    int64_t BytesRead() const { return m_read; }
    // Reads up to maxBytes of audio as the file holds it; 0 at the end.
    int64_t Read(uint8_t* buffer, int64_t maxBytes);
    bool Read(std::vector<int32_t>& samples) override;
    double Fraction() const override;

private:
    struct Format;
    void readHeader();
    [[noreturn]] void notPcm() const;
    [[noreturn]] void inconsistent() const;
    void readFormat(uint32_t size);
    void checkFormat(const Format& format) const;
    void readSizes64(uint32_t size);
    void readData(uint32_t size);
    bool readChunkHeader(QByteArray& id, uint32_t& size);
    int frameBytes() const { return m_channels * m_containerBits / 8; }

    QString m_path;
    std::unique_ptr<QIODevice> m_device;
    bool m_rf64 = false;
    uint64_t m_dataSize64 = 0; // an RF64 file's data size, from its ds64 chunk
    int m_channels = 0;
    int m_sampleRate = 0;
    int m_containerBits = 0;
    int m_validBits = 0;
    int64_t m_dataBytes = 0;
    int64_t m_dataOffset = 0;
    int64_t m_read = 0;
    bool m_truncated = false;
};
