#pragma once
#include "encode/GaplessTrim.h"
#include "encode/Mp3AudioSpan.h"
#include "platform/IPcmSource.h"
#include "platform/Mp3Decoder.h"
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// The audio of an MP3 file as 16-bit PCM, channels interleaved: tags and junk
// before the first frame are skipped and a LAME tag's delay and padding are
// cut, so an encoded WAV comes back with its own length and alignment. Opening
// decodes up to the first audio and raises ConvertError (French text) when
// there is none.
class Mp3Source : public IPcmSource {
public:
    explicit Mp3Source(const QString& path);
    // The same over bytes in memory; name is the file named in messages.
    Mp3Source(const QByteArray& bytes, const QString& name);
    ~Mp3Source() override;
    Mp3Source(const Mp3Source&) = delete;
    Mp3Source& operator=(const Mp3Source&) = delete;

    int Channels() const override { return m_channels; }
    int SampleRate() const override { return m_sampleRate; }
    int BitsPerSample() const override { return 16; }
    // Appends the next piece of audio to pcm; false once all of it was given.
    bool Read(std::vector<int16_t>& pcm);
    bool Read(std::vector<int32_t>& samples) override;
    // Share of the file's MP3 data decoded so far, 0..1.
    double Fraction() const override;
    // Samples a channel the LAME tag announces; 0 without one.
    uint64_t Frames() const override;

private:
    void open();
    bool decodeNextPiece();
    [[noreturn]] void unreadable() const;
    [[noreturn]] void damaged() const;

    QString m_path;
    std::unique_ptr<QIODevice> m_device;
    Mp3AudioSpan m_span;
    int64_t m_position = 0;
    Mp3Decoder m_decoder;
    GaplessTrim m_trim;
    std::vector<int16_t> m_pending;
    std::vector<uint8_t> m_piece;
    bool m_atEnd = false;
    int m_channels = 0;
    int m_sampleRate = 0;
};
