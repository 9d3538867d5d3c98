#include "encode/AudioFileConverter.h"
#include "encode/TLameCoder.h"
#include "encode/WavHeader.h"
#include "encode/WavReader.h"
#include "platform/LameEncoderLibrary.h"
#include "support/Mp3Frames.h"
#include "support/Mpg123.h"
#include "support/PcmCompare.h"
#include "support/RipTool.h"
#include "support/TestFiles.h"
#include "tags/FileTagStore.h"
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class Mp3Stream : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    // An MP3 of our encoder, with its LAME tag in a header frame.
    QByteArray encode(int frames, int rate, int channels)
    {
        const QByteArray pcm = PcmCompare::Tones(frames, rate, channels);
        EXPECT_TRUE(TestFiles::Write(path("s.wav"), WavHeader::Make(channels, rate, uint32_t(pcm.size())) + pcm));
        EXPECT_TRUE(converter.WavToMp3(path("s.wav"), path("s.mp3")));
        return TestFiles::ReadAll(path("s.mp3"));
    }

    QTemporaryDir dir;
    LameEncoderLibrary lame;
    TLameCoder coder{lame};
    FileTagStore tags;
    AudioFileConverter converter{coder, tags};
};

// A false sync word in front: a decoder that trusts it misses the header
// frame's tag and plays the frame, or fails on the false frame.
const QByteArray FalseFrame = QByteArray("\xFF\xFB\x90\x00", 4) + QByteArray(300, '\0');
const QByteArray FalseFrameThatFails = QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(500, '\x55');
} // namespace

TEST_F(Mp3Stream, JunkBeforeTheFirstFrameIsPassedOverInEveryLayout)
{
    struct Case {
        int rate, channels;
        QByteArray junk;
    };
    // MPEG-1, 2 and 2.5; mono and stereo side information.
    const Case cases[] = {{44100, 2, FalseFrameThatFails}, {44100, 2, FalseFrame}, {44100, 1, FalseFrame},
                          {22050, 1, FalseFrame}, {22050, 2, "not a tag, not a frame. "}, {11025, 2, FalseFrame}};
    for (const Case& k : cases) {
        const int frames = k.rate + 77;
        ASSERT_TRUE(TestFiles::Write(path("junk.mp3"), k.junk + encode(frames, k.rate, k.channels)));
        const auto theirs = Mpg123::Decode(path("junk.mp3"));
        ASSERT_TRUE(theirs.has_value()) << "mpg123 must be installed";
        ASSERT_TRUE(converter.Mp3ToWav(path("junk.mp3"), path("back.wav"))) << k.rate;
        EXPECT_EQ(WavReader(path("back.wav")).DataBytes(), int64_t(theirs->size()) * 2) << k.rate << " " << k.channels;
        EXPECT_EQ(theirs->size(), size_t(frames * k.channels)) << "mpg123, " << k.rate;
        QFile::remove(path("back.wav"));
    }
}

TEST_F(Mp3Stream, AFileWithoutAWholeFrameIsRefusedAndLeavesNothing)
{
    // Audio frames only: the header frame would be refused for holding no sound.
    const QByteArray mp3 = encode(44100, 44100, 2);
    const auto frames = Mp3Frames::Walk(mp3);
    ASSERT_GT(frames.size(), 2);
    const QByteArray audio = mp3.mid(frames[1].offset);
    for (int size : {4, frames[1].length / 2, frames[1].length - 1}) {
        ASSERT_TRUE(TestFiles::Write(path("cut.mp3"), audio.left(size)));
        const RipTool cut = RipTool::Run({"--convert", path("cut.mp3"), "--out", path("cut.wav")});
        EXPECT_EQ(cut.exitCode, 1) << size;
        EXPECT_TRUE(cut.err.contains(QStringLiteral("Le fichier \"%1\" n'est pas un fichier MP3 lisible.")
                                         .arg(path("cut.mp3"))))
            << cut.err.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList({"cut.mp3", "s.mp3", "s.wav"}));
    }
}
