#include "encode/TLameCoder.h"
#include "platform/LameEncoderLibrary.h"
#include "support/Mp3Frames.h"
#include "support/PcmCompare.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <set>

namespace {
struct Encoded {
    QByteArray mp3;
    uint32_t samplesPerChunk = 0;
    uint32_t outputBufferSize = 0;
    uint32_t largestOutput = 0;
    uint32_t infoTagLength = 0;
};

// Drives one stream the way the ripper does: whole chunks, the last one
// padded with silence, the flush last, the final VBR header frame over the first.
Encoded encode(TLameCoder& coder, const QByteArray& pcm)
{
    Encoded e;
    if (coder.InitStream() != 0)
        return e;
    e.samplesPerChunk = coder.SamplesPerChunk();
    e.outputBufferSize = coder.OutputBufferSize();
    const int block = int(e.samplesPerChunk) * 2;
    std::vector<uint8_t> out(e.outputBufferSize);
    auto keep = [&](uint32_t length) {
        e.largestOutput = std::max(e.largestOutput, length);
        e.mp3.append(reinterpret_cast<const char*>(out.data()), int(length));
    };
    for (int at = 0; at < pcm.size(); at += block) {
        QByteArray chunk = pcm.mid(at, block);
        chunk.append(QByteArray(block - chunk.size(), '\0'));
        uint32_t length = 0;
        coder.EncodeChunk(reinterpret_cast<const int16_t*>(chunk.constData()), out.data(), &length);
        keep(length);
    }
    uint32_t length = 0;
    coder.DeinitStream(out.data(), &length);
    keep(length);
    coder.InfoTag(out.data(), &e.infoTagLength);
    e.mp3.replace(0, e.infoTagLength, QByteArray(reinterpret_cast<const char*>(out.data()), e.infoTagLength));
    coder.CloseStream();
    return e;
}

QByteArray tones(int seconds, int rate, int channels)
{
    return PcmCompare::Tones(seconds * rate, rate, channels);
}

class LameLibraryTest : public ::testing::Test {
protected:
    LameEncoderLibrary lib;
    TLameCoder coder{lib};
};
} // namespace

TEST_F(LameLibraryTest, ChunkIsOneFrameOfInputForEveryRate)
{
    struct Case {
        uint32_t rate;
        TLameMode mode;
        uint32_t bitrate;
        uint32_t samples;
    };
    // MPEG-1 frames hold 1152 samples a channel, MPEG-2 and 2.5 frames 576.
    for (const Case& k : {Case{44100, STEREO, 128, 2304}, Case{44100, MONO, 128, 1152},
                          Case{22050, STEREO, 128, 1152}, Case{11025, MONO, 64, 576}}) {
        coder.SetSampleRate(k.rate);
        coder.SetMode(k.mode);
        coder.SetBitrate(k.bitrate);
        const Encoded e = encode(coder, tones(1, int(k.rate), k.mode == MONO ? 1 : 2));
        EXPECT_EQ(e.samplesPerChunk, k.samples) << k.rate;
        const auto frames = Mp3Frames::Walk(e.mp3);
        ASSERT_FALSE(frames.isEmpty());
        EXPECT_EQ(uint32_t(frames[0].sampleRate), k.rate);
    }
}

TEST_F(LameLibraryTest, ResampledStreamTakesOneOutputFrameOfInputPerChunk)
{
    // At 96 kbit/s the encoder chooses a lower output rate than the input's.
    coder.SetBitrate(96);
    const Encoded e = encode(coder, tones(1, 44100, 2));
    const auto frames = Mp3Frames::Walk(e.mp3);
    ASSERT_FALSE(frames.isEmpty());
    const int outRate = frames[0].sampleRate;
    ASSERT_LT(outRate, 44100);
    const uint32_t perChannel = uint32_t(std::ceil(1152.0 * 44100 / outRate));
    EXPECT_EQ(e.samplesPerChunk, perChannel * 2);
    EXPECT_GE(e.outputBufferSize, perChannel * 5 / 4 + 7200);
}

TEST_F(LameLibraryTest, OutputNeverExceedsTheAnnouncedBufferSize)
{
    // Noise at the highest rate makes the largest frames.
    coder.SetBitrate(320);
    QByteArray noise(44100 * 4, '\0');
    uint32_t x = 12345;
    for (char& c : noise)
        c = char((x = x * 1103515245u + 12345u) >> 24);
    const Encoded e = encode(coder, noise);
    EXPECT_GT(e.largestOutput, 0u);
    EXPECT_LE(e.largestOutput, e.outputBufferSize);
}

TEST_F(LameLibraryTest, RecordSettingsReachTheFrameHeaders)
{
    struct Case {
        TLameMode mode;
        int32_t crc, priv, copyright, original;
        uint32_t bitrate;
    };
    for (const Case& k : {Case{STEREO, LAME_TRUE, LAME_FALSE, LAME_FALSE, LAME_FALSE, 128},
                          Case{JSTEREO, LAME_FALSE, LAME_TRUE, LAME_FALSE, LAME_TRUE, 192},
                          Case{DUALCHANNEL, LAME_FALSE, LAME_FALSE, LAME_TRUE, LAME_FALSE, 256},
                          Case{MONO, LAME_TRUE, LAME_TRUE, LAME_TRUE, LAME_TRUE, 96}}) {
        coder.SetMode(k.mode);
        coder.SetCRC(k.crc);
        coder.SetPrivate(k.priv);
        coder.SetCopyright(k.copyright);
        coder.SetOriginal(k.original);
        coder.SetBitrate(k.bitrate);
        const Encoded e = encode(coder, tones(1, 44100, k.mode == MONO ? 1 : 2));
        const auto frames = Mp3Frames::Walk(e.mp3);
        ASSERT_GT(frames.size(), 30) << k.mode;
        std::set<int> modes, bitrates;
        for (const auto& f : frames) {
            EXPECT_EQ(f.crc, k.crc != 0);
            EXPECT_EQ(f.privateBit, k.priv != 0);
            EXPECT_EQ(f.copyright, k.copyright != 0);
            EXPECT_EQ(f.original, k.original != 0);
            modes.insert(f.mode);
            bitrates.insert(f.bitrateKbps);
        }
        EXPECT_EQ(modes, std::set<int>({int(k.mode)}));
        EXPECT_EQ(bitrates, std::set<int>({int(k.bitrate)}));
        EXPECT_EQ(frames.back().offset + frames.back().length, e.mp3.size())
            << "nothing but frames: no tag of the encoder's own";
    }
}

TEST_F(LameLibraryTest, VbrFollowsQualityAndMaximum)
{
    coder.SetEnableVBR(LAME_TRUE);
    coder.SetMaxBitrate(160);
    coder.SetVBRQuality(0);
    QByteArray pcm = tones(3, 44100, 2);
    // A silent second in the middle needs far fewer bits than the tones.
    pcm.replace(44100 * 4, 44100 * 4, QByteArray(44100 * 4, '\0'));
    const Encoded best = encode(coder, pcm);
    std::set<int> bitrates;
    const auto frames = Mp3Frames::Walk(best.mp3);
    for (int i = 1; i < frames.size(); ++i)
        bitrates.insert(frames[i].bitrateKbps);
    EXPECT_GT(bitrates.size(), 1u) << "variable bit rate";
    EXPECT_LE(*bitrates.rbegin(), 160);

    coder.SetVBRQuality(9);
    const Encoded worst = encode(coder, pcm);
    EXPECT_LT(worst.mp3.size(), best.mp3.size());
}

TEST_F(LameLibraryTest, NoPlaceholderFrameWithoutVbrHeader)
{
    const QByteArray pcm = tones(2, 44100, 2);
    const Encoded plain = encode(coder, pcm);
    EXPECT_EQ(plain.infoTagLength, 0u);
    const auto plainFrames = Mp3Frames::Walk(plain.mp3);
    ASSERT_FALSE(plainFrames.isEmpty());
    EXPECT_FALSE(Mp3Frames::TagIn(plain.mp3, plainFrames[0]));

    coder.SetWriteVBRHeader(LAME_TRUE);
    const Encoded tagged = encode(coder, pcm);
    const auto frames = Mp3Frames::Walk(tagged.mp3);
    ASSERT_EQ(frames.size(), plainFrames.size() + 1) << "one header frame in front of the same audio frames";
    EXPECT_EQ(uint32_t(frames[0].length), tagged.infoTagLength);
    const auto tag = Mp3Frames::TagIn(tagged.mp3, frames[0]);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->id, "Info") << "constant bit rate";
    EXPECT_EQ(tag->frames, frames.size() - 1);
}

TEST_F(LameLibraryTest, VbrStreamStartsWithXingFrameCountingTheAudioFrames)
{
    coder.SetEnableVBR(LAME_TRUE);
    const Encoded e = encode(coder, tones(2, 44100, 2));
    const auto frames = Mp3Frames::Walk(e.mp3);
    ASSERT_GT(frames.size(), 2);
    const auto tag = Mp3Frames::TagIn(e.mp3, frames[0]);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->id, "Xing");
    EXPECT_EQ(tag->frames, frames.size() - 1);
}

TEST_F(LameLibraryTest, StreamsAreIndependentAndHandlesChecked)
{
    const QByteArray pcm = tones(1, 44100, 2);
    const QByteArray alone = encode(coder, pcm).mp3;

    // A second stream opened and fed in between changes nothing in the first.
    TLameCoder other(lib);
    other.SetBitrate(320);
    ASSERT_EQ(other.InitStream(), 0u);
    std::vector<uint8_t> out(other.OutputBufferSize());
    uint32_t length = 0;
    other.EncodeChunk(reinterpret_cast<const int16_t*>(pcm.constData()), out.data(), &length);
    EXPECT_EQ(lib.OpenStreams(), 1);
    EXPECT_EQ(encode(coder, pcm).mp3, alone);
    EXPECT_EQ(other.CloseStream(), 0u);
    EXPECT_EQ(lib.OpenStreams(), 0);
    EXPECT_EQ(other.CloseStream(), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(lib.beEncodeChunk(12345, 4, reinterpret_cast<const int16_t*>(pcm.constData()), out.data(), &length),
              BE_ERR_INVALID_HANDLE);
}

TEST_F(LameLibraryTest, RefusesWhatItCannotDo)
{
    auto record = coder.ConfigRecord();
    uint32_t samples = 0, size = 0, handle = 0;
    record[0] = 255; // not the LAME configuration kind
    EXPECT_EQ(lib.beInitStream(record.data(), &samples, &size, &handle), BE_ERR_INVALID_FORMAT);
    record = coder.ConfigRecord();
    record[20] = 7; // no such mode
    EXPECT_EQ(lib.beInitStream(record.data(), &samples, &size, &handle), BE_ERR_INVALID_FORMAT_PARAMETERS);
    // Rates LAME would abort the program on, or size huge buffers for.
    for (uint32_t rate : {1u, 2000000000u}) {
        coder.SetSampleRate(rate);
        record = coder.ConfigRecord();
        EXPECT_EQ(lib.beInitStream(record.data(), &samples, &size, &handle), BE_ERR_INVALID_FORMAT_PARAMETERS);
    }
    coder.SetSampleRate(44100);
    EXPECT_EQ(lib.OpenStreams(), 0);

    record = coder.ConfigRecord();
    ASSERT_EQ(lib.beInitStream(record.data(), &samples, &size, &handle), BE_ERR_SUCCESSFUL);
    std::vector<int16_t> twoChunks(samples * 2);
    std::vector<uint8_t> out(size);
    uint32_t length = 7;
    EXPECT_EQ(lib.beEncodeChunk(handle, uint32_t(twoChunks.size()), twoChunks.data(), out.data(), &length),
              BE_ERR_BUFFER_TOO_SMALL)
        << "more than a chunk could overflow the caller's buffer";
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(lib.beEncodeChunk(handle, 3, twoChunks.data(), out.data(), &length), BE_ERR_INVALID_FORMAT_PARAMETERS)
        << "half a stereo sample";
    EXPECT_EQ(lib.beCloseStream(handle), BE_ERR_SUCCESSFUL);
}
