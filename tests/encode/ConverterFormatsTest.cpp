#include "ConverterFixture.h"
#include "support/FlacTool.h"
#include "support/SoxTool.h"
#include "support/TestFiles.h"
#include "support/ToolRun.h"
#include <QFile>
#include <QtEndian>

namespace {
const QString MutagenData = QStringLiteral(CALVENOR_SOURCE_DIR "/tests/encode/data/mutagen/");
const QString TagLibData = QStringLiteral(CALVENOR_SOURCE_DIR "/tests/encode/data/taglib/");
// An MP3 decoder gives whole frames of this many samples at most.
constexpr int Mp3FrameSamples = 1152;

template <class T>
QByteArray little(T value)
{
    QByteArray b(sizeof(T), '\0');
    qToLittleEndian<T>(value, b.data());
    return b;
}

// Files other programs made, converted, and read back by those programs.
class ConverterFormats : public ConverterFixture {
protected:
    // mpg123's decoding of an MP3: its rate and samples a channel.
    std::pair<QString, QString> mpg123(const QString& mp3)
    {
        const QString wav = path("mpg123.wav");
        EXPECT_TRUE(ToolRun::Output("mpg123", {"--quiet", "-w", wav, mp3}).has_value()) << "mpg123 must be installed";
        return {SoxTool::Info(wav, "-r"), SoxTool::Info(wav, "-s")};
    }
};
} // namespace

TEST_F(ConverterFormats, TwentyFourBitsAtNinetySixKiloHertzGoToWavAndBackBitForBit)
{
    ASSERT_TRUE(SoxTool::Tone(path("s.wav"), 96000, 24, 2, 2)) << "sox must be installed";
    ASSERT_TRUE(ToolRun::Output("flac", {"--silent", "-o", path("s.flac"), path("s.wav")}).has_value());
    ASSERT_TRUE(converter.FlacToWav(path("s.flac"), path("back.wav")));
    EXPECT_EQ(SoxTool::Info(path("back.wav"), "-r"), "96000");
    EXPECT_EQ(SoxTool::Info(path("back.wav"), "-b"), "24");
    ASSERT_TRUE(converter.WavToFlac(path("back.wav"), path("back.flac")));
    const auto source = FlacTool::Decode(path("s.flac"));
    ASSERT_TRUE(source.has_value());
    EXPECT_EQ(SoxTool::Raw(path("back.wav")), source);
    EXPECT_EQ(FlacTool::Decode(path("back.flac")), source);
}

// 20 bits do not fill their 3 bytes: the WAV says so in its extensible
// format block, as flac reads it.
TEST_F(ConverterFormats, TwentyBitsGoThroughAnExtensibleWavThatFlacReadsAlike)
{
    ASSERT_TRUE(SoxTool::Tone(path("s.wav"), 44100, 24, 2, 0.5)) << "sox must be installed";
    QByteArray samples = SoxTool::Raw(path("s.wav")).value_or(QByteArray());
    for (qsizetype at = 0; at < samples.size(); at += 3)
        samples[at] = char(samples.at(at) & 0xF0); // 20 valid bits at the top of 24
    const QByteArray fmt = little<quint16>(0xFFFE) + little<quint16>(2) + little<quint32>(44100)
        + little<quint32>(44100 * 6) + little<quint16>(6) + little<quint16>(24) + little<quint16>(22)
        + little<quint16>(20) + little<quint32>(3) + little<quint16>(1)
        + QByteArray::fromHex("000000001000800000aa00389b71");
    const QByteArray chunks = "fmt " + little<quint32>(quint32(fmt.size())) + fmt + "data"
        + little<quint32>(quint32(samples.size())) + samples;
    const QByteArray riff = "RIFF" + little<quint32>(quint32(4 + chunks.size())) + "WAVE" + chunks;
    ASSERT_TRUE(TestFiles::Write(path("s20.wav"), riff));
    ASSERT_TRUE(ToolRun::Output("flac", {"--silent", "-o", path("s.flac"), path("s20.wav")}).has_value());
    ASSERT_EQ(ToolRun::Output("metaflac", {"--show-bps", path("s.flac")}), QByteArray("20\n"));

    ASSERT_TRUE(converter.FlacToWav(path("s.flac"), path("back.wav")));
    ASSERT_TRUE(ToolRun::Output("flac", {"--silent", "-o", path("back.flac"), path("back.wav")}).has_value());
    EXPECT_EQ(ToolRun::Output("metaflac", {"--show-bps", path("back.flac")}), QByteArray("20\n"));
    EXPECT_EQ(FlacTool::Decode(path("back.flac")), FlacTool::Decode(path("s.flac")));
    ASSERT_TRUE(converter.WavToFlac(path("s20.wav"), path("ours.flac")));
    EXPECT_EQ(FlacTool::Decode(path("ours.flac")), FlacTool::Decode(path("s.flac")));
}

// Each source's samples, as sox reads them, are the FLAC's, as flac reads it.
TEST_F(ConverterFormats, EveryPcmWavBecomesAFlacOfItsOwnFormat)
{
    const struct {
        const char* name;
        int rate, bits, channels;
    } cases[] = {
        {"8bits.wav", 44100, 8, 1},
        {"24bits-extensible.wav", 48000, 24, 2},
        {"48khz.wav", 48000, 16, 2},
        {"1000hz.wav", 1000, 16, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(SoxTool::Tone(path(c.name), c.rate, c.bits, c.channels, 0.5)) << "sox must be installed";
        const auto samples = SoxTool::Raw(path(c.name));
        ASSERT_TRUE(converter.WavToFlac(path(c.name), path("out.flac")));
        EXPECT_EQ(FlacTool::Decode(path("out.flac")), samples);
        const auto shown = ToolRun::Output("metaflac", {"--show-sample-rate", "--show-bps", path("out.flac")});
        EXPECT_EQ(shown.value_or(QByteArray()), QByteArray::number(c.rate) + "\n" + QByteArray::number(c.bits) + "\n");
        QFile::remove(path("out.flac"));
    }
}

// TagLib's RF64 and extensible files; the RF64 one also with bytes after its
// audio, which only its ds64 chunk tells apart.
TEST_F(ConverterFormats, TagLibsRf64AndExtensibleFilesKeepTheirFormatAndLength)
{
    const struct {
        const char* name;
        QByteArray appended;
        const char* shown; // metaflac: rate, bits, channels, sample frames
    } cases[] = {
        {"rf64.wav", {}, "48000\n16\n2\n2400\n"},
        {"rf64.wav", "junk" + little<quint32>(1000) + QByteArray(1000, '\0'), "48000\n16\n2\n2400\n"},
        {"uint8we.wav", {}, "8000\n8\n2\n23493\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(TestFiles::Write(path(c.name), TestFiles::ReadAll(TagLibData + c.name) + c.appended));
        ASSERT_TRUE(converter.WavToFlac(path(c.name), path("out.flac")));
        EXPECT_EQ(ToolRun::Output("metaflac", {"--show-sample-rate", "--show-bps", "--show-channels",
                                               "--show-total-samples", path("out.flac")}),
                  QByteArray(c.shown));
        // flac reads both kinds too: the same samples.
        ASSERT_TRUE(ToolRun::Output("flac", {"--silent", "--force", "-o", path("flac.flac"), path(c.name)}));
        EXPECT_EQ(FlacTool::Decode(path("out.flac")), FlacTool::Decode(path("flac.flac")));
        QFile::remove(path("out.flac"));
    }
}

TEST_F(ConverterFormats, ToMp3TheRateIsOneLameTakesAndTheLengthStays)
{
    const struct {
        const char* name;
        int rate, bits;
        const char* mp3Rate;
        int mp3Samples;
    } cases[] = {
        {"48khz.wav", 48000, 16, "48000", 96000},
        {"96khz-24bits.wav", 96000, 24, "48000", 96000},
        {"1000hz.wav", 1000, 16, "8000", 16000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(SoxTool::Tone(path(c.name), c.rate, c.bits, 2, 2)) << "sox must be installed";
        ASSERT_TRUE(converter.WavToMp3(path(c.name), path("out.mp3")));
        const auto [rate, samples] = mpg123(path("out.mp3"));
        EXPECT_EQ(rate, c.mp3Rate);
        EXPECT_NEAR(samples.toInt(), c.mp3Samples, Mp3FrameSamples);
        QFile::remove(path("out.mp3"));
    }
}

TEST_F(ConverterFormats, AnMp3OfALoneFrameIsRefusedAndLeavesNothing)
{
    const QString mp3 = path("too-short.mp3");
    ASSERT_TRUE(QFile::copy(MutagenData + "too-short.mp3", mp3));
    EXPECT_EQ(ToolRun::Output("mpg123", {"--quiet", "--stdout", mp3}), QByteArray()) << "mpg123 decodes nothing";
    EXPECT_EQ(errorOf([&] { converter.Mp3ToWav(mp3, path("out.wav")); }),
              QStringLiteral("Le fichier \"%1\" n'est pas un fichier MP3 lisible.").arg(mp3));
    EXPECT_EQ(files(), QStringList({"too-short.mp3"}));
}
