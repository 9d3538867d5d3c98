#pragma once
#include <QFile>
#include <QString>
#include <cstdint>

// The file a rip writes: created (replacing any file of that name) on
// construction, closed on destruction. A failed write raises ECDRIPError with
// a French text (a full disk is named as such).
class RipOutput {
public:
    explicit RipOutput(const QString& path);
    // Writes through an open descriptor, which stays open; name is for messages.
    RipOutput(int descriptor, const QString& name);
    RipOutput(const RipOutput&) = delete;
    RipOutput& operator=(const RipOutput&) = delete;

    void Write(const uint8_t* data, int64_t length);
    // Bytes written after the header, if any.
    int64_t PayloadBytes() const { return m_written - m_headerSize; }
    void WriteWavHeader(int channels, int sampleRate, uint32_t announcedDataSize);
    // Writes over bytes already in the file (an MP3's final VBR header frame),
    // then goes back to the end.
    void WriteAt(int64_t offset, const uint8_t* data, int64_t length);
    // Makes the header's two sizes tell the audio actually written.
    void FixWavSizes();
    void Close() { m_file.close(); }

private:
    void patch32(qint64 offset, uint32_t value);
    QFile m_file;
    int64_t m_written = 0;
    int64_t m_headerSize = 0;
};
