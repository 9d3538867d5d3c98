#pragma once
#include "platform/IEncodedOutput.h"
#include <QFile>
#include <QString>
#include <cstdint>
#include <memory>

class ConversionTarget;
class FileWriteLock;

// The file a rip writes. A failed write raises ECDRIPError with a French text
// (a full disk is named as such).
class RipOutput : public IEncodedOutput {
public:
    // Claims path against other writers and writes out of sight beside it, as
    // the converter does: Commit gives the data the path's name, replacing
    // any file of that name in one step; without it nothing is left. A device
    // or a pipe at path is written directly.
    explicit RipOutput(const QString& path);
    // Writes through an open descriptor, which stays open; name is for messages.
    RipOutput(int descriptor, const QString& name);
    RipOutput(const RipOutput&) = delete;
    RipOutput& operator=(const RipOutput&) = delete;

    void Write(const uint8_t* data, int64_t length) override;
    // Bytes written after the header, if any.
    int64_t PayloadBytes() const { return m_written - m_headerSize; }
    void WriteWavHeader(int channels, int sampleRate, uint32_t announcedDataSize, int bits = 16);
    // Writes over bytes already in the file (an MP3's final VBR header frame,
    // a FLAC stream's header), then goes back to the end.
    void WriteAt(int64_t offset, const uint8_t* data, int64_t length) override;
    // Makes the header's two sizes tell the audio actually written.
    void FixWavSizes();
    void Close() { m_file.close(); }
    // Closes the file and puts it under its name (the path given on construction).
    void Commit();
    // The same under another name in the same folder (a track stopped short).
    void CommitAs(const QString& path);
    // Reaches the data before Commit, for writers that take paths (the tags).
    QString DataPath() const;
    const QString& Name() const { return m_name; }
    // A device or a pipe, written where it is: it takes no tag.
    bool WritesInPlace() const { return !m_target; }
    ~RipOutput() override;

private:
    void patch32(qint64 offset, uint32_t value);
    [[noreturn]] void writeFailed() const;
    QString m_name;
    std::unique_ptr<FileWriteLock> m_lock;
    std::unique_ptr<ConversionTarget> m_target;
    QFile m_file;
    int64_t m_written = 0;
    int64_t m_headerSize = 0;
};
