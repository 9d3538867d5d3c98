#include "ConverterFixture.h"
#include "encode/AudioFileConverter.h"
#include "platform/ConversionTarget.h"
#include "encode/ConvertError.h"
#include "encode/ConvertJob.h"
#include "encode/WavReader.h"
#include "support/FakeDialogService.h"
#include "support/Mp3Frames.h"
#include "support/Mpg123.h"
#include "support/PcmCompare.h"
#include "support/RipTool.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <functional>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

QByteArray fmtFields(int format, int channels, uint32_t rate, uint32_t byteRate, int align, int bits)
{
    return le16(format) + le16(channels) + le32(rate) + le32(byteRate) + le16(align) + le16(bits);
}

QByteArray fmtBody(int format, int channels, int rate, int bits)
{
    const int align = channels * bits / 8;
    return fmtFields(format, channels, uint32_t(rate), uint32_t(rate * align), align, bits);
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

QString notPcm(const QString& path)
{
    return QStringLiteral("Le fichier \"%1\" n'est pas un fichier WAV PCM de 8 à 24 bits.").arg(path);
}

class Converter : public ConverterFixture {
protected:

    // Converts there and back; the WAV's audio as our decoder and as mpg123 give it.
    std::pair<QByteArray, std::vector<int16_t>> roundTrip(const QString& wavName, const QString& mp3Name)
    {
        const QString mp3 = path(mp3Name);
        if (!QFileInfo::exists(mp3)) {
            EXPECT_TRUE(converter.WavToMp3(path(wavName), mp3));
        }
        EXPECT_TRUE(converter.Mp3ToWav(mp3, path("back.wav")));
        WavReader back(path("back.wav"));
        QByteArray pcm(int(back.DataBytes()), '\0');
        back.Read(reinterpret_cast<uint8_t*>(pcm.data()), pcm.size());
        QFile::remove(path("back.wav"));
        const auto independent = Mpg123::Decode(mp3);
        EXPECT_TRUE(independent.has_value()) << "mpg123 must be installed";
        return {pcm, independent.value_or(std::vector<int16_t>())};
    }
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
    EXPECT_TRUE(WavReader(path("long.wav")).Truncated());
    bytes.replace(40, 4, le32(0)); // no sound, whatever follows
    write(path("zero.wav"), bytes);
    EXPECT_EQ(errorOf([&] { WavReader r(path("zero.wav")); }),
              QStringLiteral("Le bloc de données du fichier \"%1\" annonce 0 octet : le fichier ne contient aucun son.")
                  .arg(path("zero.wav")));
}

TEST_F(Converter, WavReaderRefusesAnythingButMonoOrStereoIntegerPcm)
{
    const QByteArray pcm(400, '\0');
    write(path("4bit.wav"), wav(chunk("fmt ", fmtFields(1, 2, 44100, 88200, 2, 4)) + chunk("data", pcm)));
    write(path("32bit.wav"), wav(chunk("fmt ", fmtBody(1, 2, 44100, 32)) + chunk("data", pcm)));
    write(path("float.wav"), wav(chunk("fmt ", fmtBody(3, 2, 44100, 16)) + chunk("data", pcm)));
    write(path("nofmt.wav"), wav(chunk("data", pcm) + chunk("fmt ", fmtBody(1, 2, 44100, 16))));
    write(path("text.wav"), "Ceci n'est pas un son.");
    write(path("cut.wav"), pcmWav(pcm, 2, 44100).left(30));
    for (const char* name : {"4bit.wav", "32bit.wav", "float.wav", "nofmt.wav", "text.wav", "cut.wav"})
        EXPECT_EQ(errorOf([&] { WavReader r(path(name)); }), notPcm(path(name))) << name;

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
    EXPECT_EQ(errorOf([&] { converter.WavToMp3(path("x.wav"), path("x.mp3")); }), notPcm(path("x.wav")));
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

namespace {
QByteArray syncsafe(uint32_t n)
{
    return QByteArray(1, char(n >> 21 & 0x7F)) + char(n >> 14 & 0x7F) + char(n >> 7 & 0x7F) + char(n & 0x7F);
}

// An ID3v2 tag around frames already laid out for its version.
QByteArray id3v2(int major, int flags, const QByteArray& frames, const char* magic = "ID3")
{
    const QByteArray header = QByteArray(magic) + char(major) + '\0' + char(flags) + syncsafe(uint32_t(frames.size()));
    const QByteArray footer = (flags & 0x10) ? "3DI" + header.mid(3) : QByteArray();
    return header + frames + footer;
}

QByteArray frame(int major, const QByteArray& id, const QByteArray& body)
{
    if (major == 2)
        return id + QByteArray(1, '\0') + char(body.size() >> 8) + char(body.size() & 0xFF) + body;
    const QByteArray size = major == 4 ? syncsafe(uint32_t(body.size())) : le32(qToBigEndian(uint32_t(body.size())));
    return id + size + QByteArray(2, '\0') + body;
}

QByteArray utf16le(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), int(text.size()) * 2);
}
} // namespace

TEST_F(Converter, HostileWavHeadersAreRefusedBeforeTheEncoderAndLeaveNothing)
{
    auto rate = [&](const QString& file, const char* hz) {
        return QStringLiteral("Le fichier \"%1\" est échantillonné à %2 Hz : aucun format ne va au-delà de "
                              "1048575 Hz.")
            .arg(path(file), hz);
    };
    auto inconsistent = [&](const QString& file) {
        return QStringLiteral("L'en-tête du fichier \"%1\" est incohérent : sa fréquence, son débit et sa taille de "
                              "bloc ne s'accordent pas.")
            .arg(path(file));
    };
    struct Case {
        QString file;
        QByteArray fmt;
        QString error;
        int dataBytes;
    };
    const Case cases[] = {
        // 4 KB claiming 2e9 Hz: nothing may be sized from that rate.
        {"2ghz.wav", fmtFields(1, 2, 2000000000u, 8000000000u & 0xFFFFFFFF, 4, 16), rate("2ghz.wav", "2000000000"),
         4000},
        {"0ch.wav", fmtFields(1, 0, 44100, 0, 0, 16), notPcm(path("0ch.wav")), 4000},
        {"3ch.wav", fmtBody(1, 3, 44100, 16),
         QStringLiteral("Le fichier \"%1\" a 3 canaux : seuls les fichiers mono et stéréo peuvent être convertis.")
             .arg(path("3ch.wav")),
         4002},
        {"12bit.wav", fmtFields(1, 2, 44100, 44100 * 3, 3, 12), notPcm(path("12bit.wav")), 4002},
        {"align.wav", fmtFields(1, 2, 44100, 44100 * 4, 2, 16), inconsistent("align.wav"), 4000},
        {"byterate.wav", fmtFields(1, 2, 44100, 1, 4, 16), inconsistent("byterate.wav"), 4000},
        {"vide.wav", fmtBody(1, 2, 44100, 16),
         QStringLiteral("Le bloc de données du fichier \"%1\" annonce 0 octet : le fichier ne contient aucun son.")
             .arg(path("vide.wav")),
         0},
    };
    QStringList sources;
    for (const Case& k : cases) {
        write(path(k.file), wav(chunk("fmt ", k.fmt) + chunk("data", QByteArray(k.dataBytes, '\x11'))));
        sources << k.file;
        EXPECT_EQ(errorOf([&] { converter.WavToMp3(path(k.file), path("out.mp3")); }), k.error) << k.file.toStdString();
    }
    sources.sort();
    EXPECT_EQ(files(), sources);
}

TEST_F(Converter, RoundTripGivesBackTheExactLengthAndAlignment)
{
    struct Case {
        int frames, channels, rate;
    };
    // Not whole frames, and shorter than one frame.
    for (const Case& k : {Case{44100 * 2 + 333, 2, 44100}, Case{22050 + 7, 1, 22050}, Case{1, 2, 44100},
                          Case{700, 1, 48000}}) {
        const QByteArray pcm = PcmCompare::Tones(k.frames, k.rate, k.channels);
        write(path("s.wav"), pcmWav(pcm, k.channels, k.rate));
        QFile::remove(path("s.mp3"));
        const auto [ours, theirs] = roundTrip("s.wav", "s.mp3");
        EXPECT_FALSE(Mp3Frames::Walk(TestFiles::ReadAll(path("s.mp3"))).isEmpty()) << k.frames;
        ASSERT_EQ(ours.size(), pcm.size()) << k.frames;
        ASSERT_EQ(theirs.size() * 2, size_t(pcm.size())) << "mpg123, " << k.frames;
        if (k.frames < k.rate)
            continue;
        const auto source = PcmCompare::Samples(pcm), back = PcmCompare::Samples(ours);
        // Within the tones' period (a tenth of a second), beyond the 1105 samples of a missed delay.
        EXPECT_EQ(PcmCompare::BestLag(source, back, k.channels, 1200), 0) << k.frames;
        EXPECT_GT(PcmCompare::Correlation(source, back, k.channels, 0), 0.99) << k.frames;
        EXPECT_EQ(PcmCompare::BestLag(source, theirs, k.channels, 1200), 0) << "mpg123, " << k.frames;
    }
}

TEST_F(Converter, Id3v2TagsAreSkippedWhateverTheirForm)
{
    const int frames = 44100 + 99;
    write(path("s.wav"), pcmWav(PcmCompare::Tones(frames, 44100, 2), 2, 44100));
    ASSERT_TRUE(converter.WavToMp3(path("s.wav"), path("plain.mp3")));
    const QByteArray mp3 = TestFiles::ReadAll(path("plain.mp3"));
    const QString title = QStringLiteral("Été à Paris ÿà");
    // Text bytes 0xFF 0xFE or 0xFF 0xE0 look like frame headers to a decoder.
    const QByteArray utf16 = frame(3, "TIT2", "\x01\xFF\xFE" + utf16le(title) + QByteArray(2, '\0'));
    const QByteArray utf16be = frame(4, "TIT2", "\x02" + utf16le(title) + QByteArray(2, '\0'));
    const QByteArray unsynchronised = frame(4, "PRIV", QByteArray("x\0\xFF\x00\xFB\x90\x64\xFF\x00\xE0", 10));
    const QByteArray v1 = "TAG" + QByteArray(125, 'x');
    const struct {
        const char* name;
        QByteArray before, after;
    } cases[] = {
        {"utf16.mp3", id3v2(3, 0, utf16 + QByteArray(300, '\0')), {}},
        {"utf16be.mp3", id3v2(4, 0, utf16be), v1},
        {"footer.mp3", id3v2(4, 0x10, frame(4, "TIT2", "\x03" + title.toUtf8())), {}},
        {"unsync.mp3", id3v2(4, 0x80, unsynchronised), {}},
        {"v22.mp3", id3v2(2, 0, frame(2, "TT2", "\x01\xFF\xFE" + utf16le(title))), {}},
        {"twice.mp3", id3v2(3, 0, utf16) + id3v2(4, 0, utf16be), {}},
        {"appended.mp3", {}, id3v2(4, 0x10, utf16be) + v1},
    };
    for (const auto& k : cases) {
        write(path(k.name), k.before + mp3 + k.after);
        const auto [ours, theirs] = roundTrip("s.wav", k.name);
        EXPECT_EQ(ours.size(), frames * 4) << k.name;
        EXPECT_EQ(theirs.size(), size_t(frames * 2)) << "mpg123, " << k.name;
    }
}

TEST_F(Converter, JobWarnsOfAShortFileAndNeverFillsTheBarForARefusedOne)
{
    FakeDialogService dialogs;
    ConvertJob job(coder, dialogs, tags);
    QList<int> percents;
    job.OnProgress = [&](int percent) { percents << percent; };
    QDir(dir.path()).mkdir("d");
    write(path("d/a.wav"), pcmWav(PcmCompare::Tones(5000, 44100, 2), 2, 44100));
    write(path("d/b.wav"), "pas un son");
    QByteArray cut = pcmWav(PcmCompare::Tones(5000, 44100, 2), 2, 44100);
    cut.replace(40, 4, le32(uint32_t(cut.size()) * 2)); // announces twice what it holds
    write(path("d/c.wav"), cut);

    EXPECT_EQ(job.Run(path("d"), true, ConvertDirection::WavToMp3), 2);
    EXPECT_EQ(dialogs.texts(),
              QStringList({notPcm(path("d/b.wav")),
                           QStringLiteral("L'en-tête du fichier \"%1\" annonce plus de son que le fichier n'en "
                                          "contient : seule la partie présente a été convertie.")
                               .arg(path("d/c.wav")),
                           "Conversion terminée : 2 fichier(s) converti(s)."}));
    EXPECT_EQ(dialogs.shown[1].kind, MsgKind::Warning);
    EXPECT_EQ(percents.last(), 66);
    EXPECT_EQ(Mpg123::Decode(path("d/c.mp3")).value_or(std::vector<int16_t>()).size(), 5000u * 2);

    percents.clear();
    EXPECT_EQ(job.Run(path("d/b.wav"), false, ConvertDirection::WavToMp3), 0);
    EXPECT_EQ(*std::max_element(percents.begin(), percents.end()), 0);
}

TEST_F(Converter, AKilledConversionLeavesNothingAndACommitReplacesTheOldFile)
{
    const pid_t child = fork();
    if (child == 0) {
        ConversionTarget out(path("s.mp3"));
        (void)!::write(out.Descriptor(), "abc", 3);
        std::raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(files(), QStringList());

    write(path("s.mp3"), "ancien");
    {
        ConversionTarget out(path("s.mp3"));
        EXPECT_EQ(::write(out.Descriptor(), "nouveau", 7), 7);
        EXPECT_EQ(files(), QStringList({"s.mp3"})) << "nothing shows while the file is written";
        out.Commit();
    }
    EXPECT_EQ(TestFiles::ReadAll(path("s.mp3")), "nouveau");
    EXPECT_EQ(files(), QStringList({"s.mp3"}));
}

TEST_F(Converter, CommandLineConvertsAFileOrAFolderByExtension)
{
    const int frames = 30000 + 5;
    write(path("a.wav"), pcmWav(PcmCompare::Tones(frames, 44100, 2), 2, 44100));
    const RipTool toMp3 = RipTool::Run({"--convert", path("a.wav"), "--out", path("b.mp3")});
    EXPECT_EQ(toMp3.exitCode, 0) << toMp3.err.toStdString();
    EXPECT_EQ(toMp3.out, "Conversion terminée : 1 fichier(s) converti(s).\n");
    const RipTool toWav = RipTool::Run({"--convert", path("b.mp3"), "--out", path("c.wav")});
    EXPECT_EQ(toWav.exitCode, 0) << toWav.err.toStdString();
    EXPECT_EQ(WavReader(path("c.wav")).DataBytes(), frames * 4);

    QDir(dir.path()).mkdir("d");
    write(path("d/x.wav"), pcmWav(PcmCompare::Tones(5000, 22050, 1), 1, 22050));
    write(path("d/y.WAV"), pcmWav(PcmCompare::Tones(5000, 22050, 1), 1, 22050));
    const RipTool folder = RipTool::Run({"--convert", path("d"), "--out", path("e")});
    EXPECT_EQ(folder.exitCode, 0) << folder.err.toStdString();
    EXPECT_EQ(QDir(path("e")).entryList(QDir::Files), QStringList({"x.mp3", "y.mp3"}));

    write(path("bad.wav"), "pas un son");
    const RipTool bad = RipTool::Run({"--convert", path("bad.wav")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains(notPcm(path("bad.wav")))) << bad.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("bad.mp3")));
}
