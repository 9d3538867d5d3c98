#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/IEncoderLibrary.h"

enum MPEG_QUALITY : uint8_t { NORMAL_QUALITY = 0, LOW_QUALITY = 1, HIGH_QUALITY = 2, VOICE_QUALITY = 3 };
enum TLameMode : int32_t { STEREO = 0, JSTEREO = 1, DUALCHANNEL = 2, MONO = 3 };

// 32-bit booleans of the encoder settings.
constexpr int32_t LAME_TRUE = -1;
constexpr int32_t LAME_FALSE = 0;

// Version of the encoder library: the first four bytes of its version record.
class TLameVersion {
public:
    static constexpr int RecordSize = BeVersionSize;
    explicit TLameVersion(IEncoderLibrary& library);
    uint8_t DLLMajorVersion() const { return m_record[0]; }
    uint8_t DLLMinorVersion() const { return m_record[1]; }
    uint8_t MajorVersion() const { return m_record[2]; }
    uint8_t MinorVersion() const { return m_record[3]; }
    void Assign(const TLameVersion& other);

private:
    std::array<uint8_t, RecordSize> m_record{};
};

// MP3 encoder settings and one encoding stream at a time through the encoder library.
class TLameCoder {
public:
    static constexpr int ConfigSize = BeConfig::Size;
    using ProgressEvent = std::function<void(TLameCoder* sender, uint16_t percentComplete)>;
    using ProcessEvent = std::function<void(TLameCoder* sender)>;
    using ProcessFileEvent = std::function<void(TLameCoder* sender, uint16_t num, const QString& fileName)>;

    explicit TLameCoder(IEncoderLibrary& library);
    ~TLameCoder();
    TLameCoder(const TLameCoder&) = delete;
    TLameCoder& operator=(const TLameCoder&) = delete;

    // Copies the settings from SampleRate to VBRQuality.
    void Assign(const TLameCoder& other);
    IEncoderLibrary& Library() const { return m_library; }

    uint32_t SampleRate() const { return m_s.sampleRate; }
    void SetSampleRate(uint32_t v) { m_s.sampleRate = v; }
    uint32_t Bitrate() const { return m_s.bitrate; }
    void SetBitrate(uint32_t v) { m_s.bitrate = v; }
    uint32_t MaxBitrate() const { return m_s.maxBitrate; }
    void SetMaxBitrate(uint32_t v) { m_s.maxBitrate = v; }
    MPEG_QUALITY Quality() const { return m_s.quality; }
    void SetQuality(MPEG_QUALITY v) { m_s.quality = v; }
    int32_t Private() const { return m_s.privateBit; }
    void SetPrivate(int32_t v) { m_s.privateBit = v; }
    int32_t CRC() const { return m_s.crc; }
    void SetCRC(int32_t v) { m_s.crc = v; }
    TLameMode Mode() const { return static_cast<TLameMode>(m_s.mode); }
    void SetMode(TLameMode v) { m_s.mode = v; }
    int32_t Copyright() const { return m_s.copyright; }
    void SetCopyright(int32_t v) { m_s.copyright = v; }
    int32_t Original() const { return m_s.original; }
    void SetOriginal(int32_t v) { m_s.original = v; }
    int32_t WriteVBRHeader() const { return m_s.writeVBRHeader; }
    void SetWriteVBRHeader(int32_t v) { m_s.writeVBRHeader = v; }
    int32_t EnableVBR() const { return m_s.enableVBR; }
    // Turning VBR on or off turns the VBR header on or off with it.
    void SetEnableVBR(int32_t v) { m_s.enableVBR = v; m_s.writeVBRHeader = v; }
    int32_t VBRQuality() const { return m_s.vbrQuality; }
    void SetVBRQuality(int32_t v) { m_s.vbrQuality = v; }
    // Every setting from SampleRate to VBRQuality back to its default.
    void RestoreDefaults() { m_s = Settings{}; }

    const QStringList& InputFiles() const { return m_inputFiles; }
    void SetInputFiles(const QStringList& files);
    const QStringList& OutputFiles() const { return m_outputFiles; }
    void SetOutputFiles(const QStringList& files) { m_outputFiles = files; }
    const TLameVersion& LameVersion() const { return m_version; }
    const QString& DefaultExt() const { return m_defaultExt; }
    void SetDefaultExt(const QString& ext) { m_defaultExt = ext; }
    const QString& Mp3FileName() const { return m_mp3FileName; }
    void SetMp3FileName(const QString& name) { m_mp3FileName = name; }

    // The configuration record as InitStream hands it to the library.
    std::array<uint8_t, ConfigSize> ConfigRecord() const;

    // Stream operations; each returns the library's result unchanged (0 = success).
    uint32_t InitStream();
    uint32_t EncodeChunk(const int16_t* pcm, uint8_t* output, uint32_t* outputLength);
    // The end of a stream, shorter than a chunk (whole sample frames): the
    // library pads it itself and declares that padding in its LAME tag, so
    // gapless decoders give back exactly the samples encoded.
    uint32_t EncodeLastChunk(const int16_t* pcm, uint32_t samples, uint8_t* output, uint32_t* outputLength);
    uint32_t DeinitStream(uint8_t* output, uint32_t* outputLength);
    // After DeinitStream: the final VBR header frame, to be written over the
    // first frame of the MP3 data once all of it is in the file. Length 0
    // when the stream has no VBR header.
    uint32_t InfoTag(uint8_t* output, uint32_t* outputLength);
    uint32_t CloseStream();

    // Valid between a successful InitStream and CloseStream.
    uint32_t SamplesPerChunk() const { return m_samplesPerChunk; }
    uint32_t OutputBufferSize() const { return m_outputBufferSize; }

    ProcessEvent OnBeginProcess, OnEndProcess;
    ProcessFileEvent OnBeginFile, OnEndFile;
    ProgressEvent OnProgress;

private:
    IEncoderLibrary& m_library;
    struct Settings {
        uint32_t sampleRate = 44100;
        uint32_t bitrate = 128;
        uint32_t maxBitrate = 320;
        MPEG_QUALITY quality = NORMAL_QUALITY;
        int32_t privateBit = LAME_FALSE;
        int32_t crc = LAME_TRUE;
        int32_t mode = STEREO;
        int32_t copyright = LAME_FALSE;
        int32_t original = LAME_FALSE;
        int32_t writeVBRHeader = LAME_FALSE;
        int32_t enableVBR = LAME_FALSE;
        int32_t vbrQuality = 4;
    } m_s;
    QStringList m_inputFiles, m_outputFiles;
    TLameVersion m_version;
    QString m_defaultExt = ".mp3";
    QString m_mp3FileName;

    uint32_t m_streamHandle = 0;
    uint32_t m_samplesPerChunk = 0;
    uint32_t m_outputBufferSize = 0;
    std::vector<uint8_t> m_outputBuffer;
};
