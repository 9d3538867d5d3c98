#include "encode/TLameCoder.h"
#include "platform/CdioRipLibrary.h"
#include "platform/LameEncoderLibrary.h"
#include "platform/Mp3Decoder.h"
#include "rip/TCDRIP.h"
#include "support/DiscImage.h"
#include "support/FakeCdRipLibrary.h"
#include "support/FakeEncoderLibrary.h"
#include "support/Mp3Frames.h"
#include "support/Mpg123.h"
#include "support/PcmCompare.h"
#include "support/RipTool.h"
#include "support/TestFiles.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {
std::unique_ptr<TCDRIP> mp3Ripper(ICdRipLibrary& lib, TLameCoder& coder)
{
    auto r = std::make_unique<TCDRIP>(lib);
    r->SetCoder(&coder);
    r->SetFileFormat(FileFormat::Mp3);
    return r;
}
} // namespace

TEST(Mp3Road, FinalHeaderFrameGoesOverTheStartAfterTheFlush)
{
    FakeCdRipLibrary cd;
    cd.SetAudioToc({0}, 100);
    cd.chunkBufferSize = 16;
    // Exactly two blocks: no padded block behind them.
    cd.chunks = {{0, QByteArray(16, 'a')}, {4, QByteArray(16, 'b')}};
    FakeEncoderLibrary enc; // 16-byte blocks, 3 bytes out per block, 2 from the flush
    enc.infoTag = "HDR";
    TLameCoder coder(enc);
    QTemporaryDir dir;
    mp3Ripper(cd, coder)->RipTrack(1, dir.filePath("t.wav"));

    EXPECT_EQ(enc.chunks.size(), 2);
    EXPECT_EQ(enc.infoTags, 1);
    const QByteArray mp3 = TestFiles::ReadAll(dir.filePath("t.mp3"));
    EXPECT_EQ(mp3, QByteArray("HDR") + QByteArray(3, '\2') + QByteArray(2, char(0xEE)))
        << "the first block's bytes replaced by the header frame, the flush still last";
}

class RealMp3Rip : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // 5 seconds: 220500 frames, not a whole number of encoder blocks.
        image.AddAudioTrack(PcmCompare::Tones(Sectors * 588, 44100, 2));
        cue = image.WriteTo(dir.path());
    }
    QByteArray rip(TLameCoder& coder, TOutputFormat format = STEREO44100)
    {
        CdioRipLibrary cd({cue});
        auto r = mp3Ripper(cd, coder);
        r->SetOutputFormat(format);
        r->RipTrack(1, dir.filePath("01 - Piste.wav"));
        return TestFiles::ReadAll(dir.filePath("01 - Piste.mp3"));
    }

    static constexpr int Sectors = 375;
    QTemporaryDir dir;
    DiscImage image;
    QString cue;
    LameEncoderLibrary lame;
};

TEST_F(RealMp3Rip, DecodesToTheTracksLengthAndSound)
{
    TLameCoder coder(lame);
    const QByteArray mp3 = rip(coder);
    ASSERT_FALSE(mp3.isEmpty());
    const auto decoded = PcmCompare::DecodeMp3(mp3);
    EXPECT_EQ(decoded.channels, 2);
    EXPECT_EQ(decoded.sampleRate, 44100);
    const int frames = Sectors * 588;
    // Behind the track: the silence that completes its last block (less than a
    // frame), the encoder's delay in front and its padding to whole frames.
    EXPECT_GE(decoded.frames(), frames);
    EXPECT_LE(decoded.frames(), frames + 1152 + 576 + 2 * 1152);
    const auto source = PcmCompare::Samples(image.TrackAt(1).pcm);
    const int lag = PcmCompare::BestLag(source, decoded.pcm, 2, 3000);
    EXPECT_GT(PcmCompare::Correlation(source, decoded.pcm, 2, lag), 0.99);
    const auto first = Mp3Frames::HeaderAt(mp3, 0);
    ASSERT_TRUE(first);
    EXPECT_FALSE(Mp3Frames::TagIn(mp3, *first)) << "no header frame asked for";
}

TEST_F(RealMp3Rip, VbrFileStartsWithTheFinalXingFrameAndKeepsTheTrackEnd)
{
    TLameCoder coder(lame);
    coder.SetEnableVBR(LAME_TRUE);
    const QByteArray mp3 = rip(coder);
    const auto frames = Mp3Frames::Walk(mp3);
    ASSERT_GT(frames.size(), 100);
    EXPECT_EQ(frames.back().offset + frames.back().length, mp3.size());
    const auto tag = Mp3Frames::TagIn(mp3, frames[0]);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->id, "Xing");
    EXPECT_EQ(tag->frames, frames.size() - 1);

    // The header tells the delay and padding, so the length is exact: the
    // track itself, the silence completing its last frame declared as padding.
    Mp3Decoder decoder;
    std::vector<int16_t> pcm;
    decoder.Decode(reinterpret_cast<const uint8_t*>(mp3.constData()), size_t(mp3.size()), pcm);
    decoder.Decode(nullptr, 0, pcm);
    EXPECT_EQ(int(pcm.size()) / 2, decoder.EncoderDelay() + Sectors * 588 + decoder.EncoderPadding());
}

TEST_F(RealMp3Rip, GaplessDecoderGivesBackExactlyTheTrack)
{
    for (const bool vbr : {true, false}) {
        TLameCoder coder(lame);
        coder.SetEnableVBR(vbr ? LAME_TRUE : LAME_FALSE);
        coder.SetWriteVBRHeader(LAME_TRUE);
        rip(coder);
        const auto pcm = Mpg123::Decode(dir.filePath("01 - Piste.mp3"));
        ASSERT_TRUE(pcm) << "mpg123 must be installed";
        ASSERT_EQ(pcm->size(), size_t(Sectors * 588 * 2)) << "vbr " << vbr;
        const auto source = PcmCompare::Samples(image.TrackAt(1).pcm);
        EXPECT_EQ(PcmCompare::BestLag(source, *pcm, 2, 1200), 0) << "vbr " << vbr;
    }
}

TEST_F(RealMp3Rip, MonoHalfRateFormatReachesTheEncoder)
{
    TLameCoder coder(lame);
    const QByteArray mp3 = rip(coder, MONO22050);
    const auto decoded = PcmCompare::DecodeMp3(mp3);
    EXPECT_EQ(decoded.channels, 1);
    EXPECT_EQ(decoded.sampleRate, 22050);
    const int frames = Sectors * 588 / 2;
    EXPECT_GE(decoded.frames(), frames);
    EXPECT_LE(decoded.frames(), frames + 576 + 576 + 2 * 576);
}

TEST_F(RealMp3Rip, CommandLineRipsToMp3AtTheAskedBitRate)
{
    const QString out = dir.filePath("cli.mp3");
    const RipTool run =
        RipTool::Run({"--drive", "x=" + cue, "x:", "--track", "1", "--out", out, "--mp3", "--bitrate", "192"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QByteArray mp3 = TestFiles::ReadAll(out);
    // Tagged as the whole disc's run tags it: the frames follow the ID3v2 tag.
    ASSERT_TRUE(mp3.startsWith("ID3"));
    const int tagSize = 10 + ((mp3[6] & 0x7f) << 21 | (mp3[7] & 0x7f) << 14 | (mp3[8] & 0x7f) << 7 | (mp3[9] & 0x7f));
    mp3.remove(0, tagSize);
    const auto frames = Mp3Frames::Walk(mp3);
    ASSERT_GT(frames.size(), 100);
    for (const auto& f : frames)
        ASSERT_EQ(f.bitrateKbps, 192);
    const auto decoded = PcmCompare::DecodeMp3(mp3);
    EXPECT_GE(decoded.frames(), Sectors * 588);
    EXPECT_LE(decoded.frames(), Sectors * 588 + 1152 + 576 + 2 * 1152);
}
