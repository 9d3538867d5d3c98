#include "encode/AudioFileConverter.h"
#include "encode/ConvertError.h"
#include "encode/TLameCoder.h"
#include "encode/WavReader.h"
#include "platform/LameEncoderLibrary.h"
#include "support/PcmCompare.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {
QByteArray le16(int v)
{
    QByteArray b(2, '\0');
    qToLittleEndian<uint16_t>(uint16_t(v), b.data());
    return b;
}

QByteArray le32(uint32_t v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<uint32_t>(v, b.data());
    return b;
}

QByteArray chunk(const QByteArray& id, const QByteArray& body)
{
    return id + le32(uint32_t(body.size())) + body + (body.size() % 2 ? QByteArray(1, '\0') : QByteArray());
}

QByteArray fmtBody(int format, int channels, int rate, int bits)
{
    const int align = channels * bits / 8;
    return le16(format) + le16(channels) + le32(uint32_t(rate)) + le32(uint32_t(rate * align)) + le16(align)
        + le16(bits);
}

QByteArray wav(const QByteArray& chunks)
{
    return "RIFF" + le32(uint32_t(chunks.size() + 4)) + "WAVE" + chunks;
}

QByteArray pcmWav(const QByteArray& pcm, int channels, int rate)
{
    return wav(chunk("fmt ", fmtBody(1, channels, rate, 16)) + chunk("data", pcm));
}

void write(const QString& path, const QByteArray& bytes)
{
    ASSERT_TRUE(TestFiles::Write(path, bytes));
}

QString notPcm16(const QString& path)
{
    return QStringLiteral("Le fichier \"%1\" n'est pas un fichier WAV PCM 16 bits.").arg(path);
}

class Converter : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    QString errorOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const ConvertError& e) {
            return e.message();
        }
        return QString();
    }

    QTemporaryDir dir;
    LameEncoderLibrary lame;
    TLameCoder coder{lame};
    AudioFileConverter converter{coder};
};
} // namespace

TEST_F(Converter, WavReaderFindsTheAudioPastOtherChunks)
{
    const QByteArray pcm = PcmCompare::Tones(1000, 22050, 1);
    // An extensible format block naming PCM, and an odd-sized chunk with its pad byte.
    QByteArray extensible = fmtBody(0xFFFE, 1, 22050, 16) + le16(22) + le16(16) + le32(4) + le16(1)
        + QByteArray(14, '\x11');
    write(path("a.wav"), wav(chunk("fmt ", extensible) + chunk("LIST", "odd") + chunk("data", pcm)));
    WavReader r(path("a.wav"));
    EXPECT_EQ(r.Channels(), 1);
    EXPECT_EQ(r.SampleRate(), 22050);
    ASSERT_EQ(r.DataBytes(), pcm.size());
    QByteArray read(pcm.size() + 10, '\0');
    EXPECT_EQ(r.Read(reinterpret_cast<uint8_t*>(read.data()), read.size()), pcm.size());
    EXPECT_EQ(read.left(pcm.size()), pcm);
    EXPECT_EQ(r.Read(reinterpret_cast<uint8_t*>(read.data()), read.size()), 0);
}

TEST_F(Converter, WavReaderBelievesTheFileOverItsHeader)
{
    const QByteArray pcm(4000, '\x05');
    QByteArray bytes = pcmWav(pcm, 2, 44100);
    bytes.replace(40, 4, le32(0xFFFFFFFF)); // more than the file holds
    write(path("long.wav"), bytes);
    EXPECT_EQ(WavReader(path("long.wav")).DataBytes(), 4000);
    bytes.replace(40, 4, le32(0)); // a streamed file that never wrote its size
    write(path("zero.wav"), bytes);
    EXPECT_EQ(WavReader(path("zero.wav")).DataBytes(), 4000);
}

TEST_F(Converter, WavReaderRefusesAnythingButMonoOrStereo16BitPcm)
{
    const QByteArray pcm(400, '\0');
    write(path("8bit.wav"), wav(chunk("fmt ", fmtBody(1, 2, 44100, 8)) + chunk("data", pcm)));
    write(path("24bit.wav"), wav(chunk("fmt ", fmtBody(1, 2, 44100, 24)) + chunk("data", pcm)));
    write(path("float.wav"), wav(chunk("fmt ", fmtBody(3, 2, 44100, 16)) + chunk("data", pcm)));
    write(path("nofmt.wav"), wav(chunk("data", pcm) + chunk("fmt ", fmtBody(1, 2, 44100, 16))));
    write(path("text.wav"), "Ceci n'est pas un son.");
    write(path("cut.wav"), pcmWav(pcm, 2, 44100).left(30));
    for (const char* name : {"8bit.wav", "24bit.wav", "float.wav", "nofmt.wav", "text.wav", "cut.wav"})
        EXPECT_EQ(errorOf([&] { WavReader r(path(name)); }), notPcm16(path(name))) << name;

    write(path("six.wav"), wav(chunk("fmt ", fmtBody(1, 6, 44100, 16)) + chunk("data", pcm)));
    EXPECT_EQ(errorOf([&] { WavReader r(path("six.wav")); }),
              QStringLiteral("Le fichier \"%1\" a 6 canaux : seuls les fichiers mono et stéréo peuvent être "
                             "convertis.")
                  .arg(path("six.wav")));
}

TEST_F(Converter, WavToMp3ToWavKeepsFormatLengthAndSound)
{
    for (int channels : {2, 1}) {
        const int rate = channels == 2 ? 44100 : 22050;
        const int frames = rate * 2 + 333; // not a whole number of encoder frames
        const QByteArray pcm = PcmCompare::Tones(frames, rate, channels);
        write(path("s.wav"), pcmWav(pcm, channels, rate));
        ASSERT_TRUE(converter.WavToMp3(path("s.wav"), path("s.mp3")));
        ASSERT_TRUE(converter.Mp3ToWav(path("s.mp3"), path("back.wav")));
        EXPECT_EQ(files(), QStringList({"back.wav", "s.mp3", "s.wav"})) << "no temporary file left";

        WavReader back(path("back.wav"));
        EXPECT_EQ(back.Channels(), channels);
        EXPECT_EQ(back.SampleRate(), rate);
        // The decoder gives whole frames: the encoder's delay in front (576
        // samples), then the audio, the silence that completed the last encoder
        // block and the encoder's padding to whole frames behind it.
        const int frameSamples = rate >= 32000 ? 1152 : 576;
        const int backFrames = int(back.DataBytes() / 2 / channels);
        EXPECT_GE(backFrames, frames);
        EXPECT_LE(backFrames, frames + 576 + 3 * frameSamples);
        QByteArray decoded(int(back.DataBytes()), '\0');
        back.Read(reinterpret_cast<uint8_t*>(decoded.data()), decoded.size());
        const auto source = PcmCompare::Samples(pcm), result = PcmCompare::Samples(decoded);
        const int lag = PcmCompare::BestLag(source, result, channels, 3000);
        EXPECT_GT(PcmCompare::Correlation(source, result, channels, lag), 0.99) << channels;
        QFile::remove(path("back.wav"));
        QFile::remove(path("s.mp3"));
    }
}

TEST_F(Converter, ProgressRunsToTheEndAndAStopKeepsNothing)
{
    write(path("s.wav"), pcmWav(PcmCompare::Tones(44100 * 3, 44100, 2), 2, 44100));
    write(path("s.mp3"), "ancien");
    QList<double> fractions;
    converter.OnProgress = [&](double f) { fractions << f; };
    converter.StopRequested = [&] { return fractions.size() == 3; };
    EXPECT_THROW(converter.WavToMp3(path("s.wav"), path("s.mp3")), AudioFileConverter::Stopped);
    EXPECT_EQ(TestFiles::ReadAll(path("s.mp3")), "ancien") << "the old file stays when the conversion does not end";
    EXPECT_EQ(files(), QStringList({"s.mp3", "s.wav"}));

    fractions.clear();
    converter.StopRequested = nullptr;
    ASSERT_TRUE(converter.WavToMp3(path("s.wav"), path("s.mp3")));
    ASSERT_GT(fractions.size(), 3);
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    EXPECT_DOUBLE_EQ(fractions.last(), 1.0);
    EXPECT_NE(TestFiles::ReadAll(path("s.mp3")), "ancien");
}

TEST_F(Converter, TargetIsWrittenOnlyWhenAllowed)
{
    write(path("s.wav"), pcmWav(PcmCompare::Tones(5000, 44100, 2), 2, 44100));
    QStringList asked;
    converter.MayWrite = [&](const QString& target) {
        asked << target;
        return false;
    };
    EXPECT_FALSE(converter.WavToMp3(path("s.wav"), path("s.mp3")));
    EXPECT_EQ(asked, QStringList({path("s.mp3")}));
    EXPECT_EQ(files(), QStringList({"s.wav"}));

    // A source that cannot be converted is refused before the question.
    write(path("x.wav"), "pas un son");
    EXPECT_EQ(errorOf([&] { converter.WavToMp3(path("x.wav"), path("x.mp3")); }), notPcm16(path("x.wav")));
    EXPECT_EQ(asked.size(), 1);
}

TEST_F(Converter, UnreadableMp3LeavesNoOutput)
{
    write(path("x.mp3"), QByteArray("ID3 mais pas de son. ").repeated(400));
    write(path("empty.mp3"), QByteArray());
    for (const char* name : {"x.mp3", "empty.mp3"})
        EXPECT_EQ(errorOf([&] { converter.Mp3ToWav(path(name), path("x.wav")); }),
                  QStringLiteral("Le fichier \"%1\" n'est pas un fichier MP3 lisible.").arg(path(name)));
    EXPECT_EQ(files(), QStringList({"empty.mp3", "x.mp3"}));
}

TEST_F(Converter, Mp3WithItsTagTrailerConverts)
{
    write(path("s.wav"), pcmWav(PcmCompare::Tones(44100, 44100, 2), 2, 44100));
    ASSERT_TRUE(converter.WavToMp3(path("s.wav"), path("s.mp3")));
    QFile mp3(path("s.mp3"));
    ASSERT_TRUE(mp3.open(QIODevice::Append));
    mp3.write("TAG" + QByteArray(125, 'x')); // what the ripping window appends
    mp3.close();
    ASSERT_TRUE(converter.Mp3ToWav(path("s.mp3"), path("t.wav")));
    const int frames = int(WavReader(path("t.wav")).DataBytes() / 4);
    EXPECT_GE(frames, 44100);
    EXPECT_LE(frames, 44100 + 576 + 3 * 1152);
}
