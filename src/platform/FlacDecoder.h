#pragma once
#include "platform/IPcmSource.h"
#include <QIODevice>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// libFLAC's stream decoder over a file or bytes in memory: the stream's format
// from STREAMINFO, then its audio at its own bit depth, channels interleaved,
// left first. Opening reads the metadata and raises CalvenorError (French
// text) for bytes that are not FLAC, audio of fewer than 8 or more than 24
// bits, or more than two channels; while reading, a
// damaged frame, a cut file or audio that does not match the MD5 in
// STREAMINFO raises it too, at the latest when the end is reached.
class FlacDecoder : public IPcmSource {
public:
    // name: the file named in messages.
    FlacDecoder(std::unique_ptr<QIODevice> device, const QString& name);
    ~FlacDecoder() override;
    FlacDecoder(const FlacDecoder&) = delete;
    FlacDecoder& operator=(const FlacDecoder&) = delete;

    int SampleRate() const override { return m_sampleRate; }
    int Channels() const override { return m_channels; }
    int BitsPerSample() const override { return m_bits; }
    // Samples per channel STREAMINFO announces; 0 when it does not say.
    uint64_t Frames() const override { return m_totalSamples; }
    // Appends the next piece of audio (whole frames) to pcm; false once all
    // of it was given and found whole.
    bool Read(std::vector<int32_t>& pcm) override;
    // Share of the file's bytes decoded so far, 0..1.
    double Fraction() const override;

private:
    struct Callbacks;
    struct Stream;
    enum class Fault { None, Damaged, CutShort };

    bool atEnd() const;
    void checkWhole();
    void raise() const;

    QString m_name;
    std::unique_ptr<QIODevice> m_device;
    std::unique_ptr<Stream> m_stream;
    std::vector<int32_t>* m_out = nullptr;
    Fault m_fault = Fault::None;
    bool m_haveInfo = false;
    bool m_finished = false;
    int m_sampleRate = 0;
    int m_channels = 0;
    int m_bits = 0;
    uint64_t m_totalSamples = 0;
    uint64_t m_decoded = 0;
};
