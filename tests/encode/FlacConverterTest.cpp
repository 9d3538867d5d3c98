#include "ConverterFixture.h"
#include "encode/AudioFileConverter.h"
#include "encode/TLameCoder.h"
#include "encode/WavHeader.h"
#include "encode/WavReader.h"
#include "platform/CalvenorError.h"
#include "platform/FlacTag.h"
#include "platform/LameEncoderLibrary.h"
#include "support/FlacTool.h"
#include "support/PcmCompare.h"
#include "support/RipTool.h"
#include "support/TestFiles.h"
#include "tags/FileTagStore.h"
#include "tags/TMP3Info.h"
#include "tags/TrackTags.h"
#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {
struct Shape {
    int frames;
    int sampleRate;
    int channels;
};

class FlacConverter : public ConverterFixture {
protected:
    // A FLAC file made by the flac tool; its audio.
    QByteArray toolFlac(const QString& name, const Shape& s, int bits = 16)
    {
        const QByteArray pcm = PcmCompare::Tones(s.frames, s.sampleRate, s.channels);
        const QByteArray wide = bits == 16 ? pcm : widened(pcm, bits);
        EXPECT_TRUE(FlacTool::Encode(wide, s.channels, s.sampleRate, bits, path(name))) << "flac must be installed";
        return pcm;
    }
    // The same samples, wider.
    static QByteArray widened(const QByteArray& pcm, int bits)
    {
        QByteArray wide;
        for (int i = 0; i < pcm.size(); i += 2)
            wide += QByteArray((bits - 16) / 8, '\0') + pcm.mid(i, 2);
        return wide;
    }
    static QByteArray wavAudio(const QString& wav)
    {
        WavReader r(wav);
        QByteArray pcm(int(r.DataBytes()), '\0');
        r.Read(reinterpret_cast<uint8_t*>(pcm.data()), pcm.size());
        return pcm;
    }

    // One source of each kind, holding the same audio and no tag.
    void makeSources()
    {
        const QByteArray pcm = toolFlac("s.flac", {44100 / 2, 44100, 2});
        ASSERT_TRUE(TestFiles::Write(path("s.wav"), WavHeader::Make(2, 44100, uint32_t(pcm.size())) + pcm));
        ASSERT_TRUE(converter.WavToMp3(path("s.wav"), path("s.mp3")));
    }

};

using Conversion = bool (AudioFileConverter::*)(const QString& source, const QString& target);
struct Way {
    const char* source;
    const char* target;
    Conversion convert;
};
constexpr Way EveryWay[] = {
    {"s.wav", "t.mp3", &AudioFileConverter::WavToMp3}, {"s.mp3", "t.wav", &AudioFileConverter::Mp3ToWav},
    {"s.wav", "t.flac", &AudioFileConverter::WavToFlac}, {"s.flac", "t.wav", &AudioFileConverter::FlacToWav},
    {"s.mp3", "t.flac", &AudioFileConverter::Mp3ToFlac}, {"s.flac", "t.mp3", &AudioFileConverter::FlacToMp3},
};

// Tags there to copy that no target takes.
class UnwritableTags : public ITagStore {
public:
    bool Read(const QString&, TagFields& fields) override
    {
        fields.title = QStringLiteral("Titre");
        return true;
    }
    void Write(const QString&, const QString& name, const TagFields&) override
    {
        throw CalvenorError(QStringLiteral("Impossible d'écrire les tags dans le fichier \"%1\".").arg(name));
    }
};

// The Vorbis comment as the flac package's metaflac reads it, a field a line.
QStringList vorbisComment(const QString& flac)
{
    QProcess metaflac;
    metaflac.start("metaflac", {"--export-tags-to=-", flac});
    metaflac.waitForFinished();
    return QString::fromUtf8(metaflac.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}
} // namespace

TEST_F(FlacConverter, FlacToWavToFlacKeepsTheFlacToolsAudioBitForBit)
{
    // Lengths off libFLAC's block size; stereo and mono; a single frame.
    for (const Shape& s : {Shape{2 * 44100 + 17, 44100, 2}, Shape{22050 + 1, 22050, 1}, Shape{1, 48000, 2}}) {
        SCOPED_TRACE(s.frames);
        const QByteArray pcm = toolFlac("tool.flac", s);
        ASSERT_TRUE(converter.FlacToWav(path("tool.flac"), path("a.wav")));
        EXPECT_EQ(wavAudio(path("a.wav")), pcm);
        ASSERT_TRUE(converter.WavToFlac(path("a.wav"), path("b.flac")));
        EXPECT_EQ(FlacTool::Decode(path("b.flac")).value_or("flac refused it"), pcm);
        // STREAMINFO's MD5 is that of the samples as little-endian bytes.
        EXPECT_EQ(FlacTool::Md5(path("b.flac")), QCryptographicHash::hash(pcm, QCryptographicHash::Md5).toHex());
        QFile::remove(path("a.wav"));
        QFile::remove(path("b.flac"));
        EXPECT_EQ(files(), QStringList({"tool.flac"}));
    }
}

TEST_F(FlacConverter, AnId3v1TrailerAfterTheAudioIsNoDamage)
{
    const QByteArray pcm = toolFlac("tag.flac", {4096 * 3 + 10, 44100, 2});
    const QByteArray bytes = TestFiles::ReadAll(path("tag.flac"));
    ASSERT_TRUE(TestFiles::Write(path("tag.flac"), bytes + "TAG" + QByteArray(125, '\xff')));
    ASSERT_TRUE(converter.FlacToWav(path("tag.flac"), path("tag.wav")));
    EXPECT_EQ(wavAudio(path("tag.wav")), pcm);
}

TEST_F(FlacConverter, FlacToMp3AndBackKeepsTheLengthAndTheSound)
{
    const Shape s{44100 + 5, 44100, 2};
    const QByteArray pcm = toolFlac("tool.flac", s);
    ASSERT_TRUE(converter.FlacToMp3(path("tool.flac"), path("a.mp3")));
    ASSERT_TRUE(converter.Mp3ToFlac(path("a.mp3"), path("b.flac")));
    const QByteArray back = FlacTool::Decode(path("b.flac")).value_or(QByteArray());
    ASSERT_EQ(back.size(), pcm.size()) << "the LAME tag gives back the exact length";
    EXPECT_GT(PcmCompare::Correlation(PcmCompare::Samples(pcm), PcmCompare::Samples(back), s.channels, 0), 0.9);
}

TEST_F(FlacConverter, WhatIsNotWholeFlacIsRefusedInFrenchAndLeavesNothing)
{
    toolFlac("good.flac", {2 * 44100, 44100, 2});
    const QByteArray good = TestFiles::ReadAll(path("good.flac"));
    toolFlac("wide.flac", {100, 44100, 2}, 32);
    const auto flipped = [&good](int at) {
        QByteArray b = good;
        b[at] = char(b[at] ^ 0x55);
        return b;
    };
    const QString notFlac = QStringLiteral("Le fichier \"%1\" n'est pas un fichier FLAC lisible.");
    const QString damaged = QStringLiteral("Le fichier \"%1\" est endommagé : son décodage a échoué.");
    const struct {
        const char* name;
        QByteArray bytes; // empty: the file is already there
        QString message;
    } cases[] = {
        {"texte.flac", "Ceci n'est pas un son.", notFlac},
        {"vide.flac", QByteArray(), notFlac},
        {"trame.flac", flipped(int(good.size()) - 300), damaged},
        {"md5.flac", flipped(30), damaged}, // inside STREAMINFO's MD5
        {"coupe.flac", good.left(good.size() * 2 / 3), damaged},
        {"wide.flac", QByteArray(),
         QStringLiteral("Le fichier \"%1\" est en 32 bits : seuls les fichiers FLAC de 8 à 24 bits peuvent être "
                        "convertis.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString source = path(c.name);
        if (!c.bytes.isEmpty() || !QFile::exists(source)) {
            ASSERT_TRUE(TestFiles::Write(source, c.bytes));
        }
        const QStringList before = files();
        EXPECT_EQ(errorOf([&] { converter.FlacToWav(source, path("out.wav")); }), c.message.arg(source));
        EXPECT_EQ(errorOf([&] { converter.FlacToMp3(source, path("out.mp3")); }), c.message.arg(source));
        EXPECT_EQ(files(), before);
    }
}

TEST_F(FlacConverter, CommandLineConvertsByTheOutputsExtension)
{
    const QByteArray pcm = toolFlac("x.flac", {44100 / 2, 44100, 2});
    const RipTool toWav = RipTool::Run({"--convert", path("x.flac"), "--out", path("x.wav")});
    ASSERT_EQ(toWav.exitCode, 0) << toWav.err.toStdString();
    EXPECT_EQ(wavAudio(path("x.wav")), pcm);
    const RipTool toFlac = RipTool::Run({"--convert", path("x.wav"), "--out", path("y.flac")});
    ASSERT_EQ(toFlac.exitCode, 0) << toFlac.err.toStdString();
    EXPECT_EQ(FlacTool::Decode(path("y.flac")).value_or(QByteArray()), pcm);
    const RipTool bad = RipTool::Run({"--convert", path("x.wav"), "--out", path("x.ogg")});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_EQ(files(), QStringList({"x.flac", "x.wav", "y.flac"}));

    // A folder of WAV and FLAC files: the output named picks the sources.
    QDir(dir.path()).mkdir("d");
    QFile::copy(path("x.flac"), path("d/a.flac"));
    QFile::copy(path("x.wav"), path("d/b.wav"));
    const RipTool mixed = RipTool::Run({"--convert", path("d"), "--out", path("e")});
    EXPECT_TRUE(mixed.err.contains(
        QStringLiteral("Le dossier \"%1\" contient des fichiers WAV et FLAC : précisez --mp3 ou --wav.").arg(path("d"))))
        << mixed.err.toStdString();
    const RipTool toWavs = RipTool::Run({"--convert", path("d"), "--out", path("e"), "--wav"});
    ASSERT_EQ(toWavs.exitCode, 0) << toWavs.err.toStdString();
    EXPECT_EQ(QDir(path("e")).entryList(QDir::Files), QStringList({"a.wav"}));
    EXPECT_EQ(wavAudio(path("e/a.wav")), pcm);
}

TEST_F(FlacConverter, TheSourcesTagsReachTheTargetEveryWay)
{
    makeSources();
    TagFields written;
    written.title = QStringLiteral("Été indien");
    written.artist = QStringLiteral("Zoé");
    written.album = QStringLiteral("Chansons");
    written.track = 7;
    for (const char* source : {"s.wav", "s.mp3", "s.flac"})
        tags.Write(path(source), path(source), written);
    const auto shown = [](const TagFields& f) { return QStringList{f.title, f.artist, f.album, QString::number(f.track)}; };
    for (const Way& w : EveryWay) {
        SCOPED_TRACE(w.target);
        ASSERT_TRUE((converter.*w.convert)(path(w.source), path(w.target)));
        TagFields back;
        ASSERT_TRUE(tags.Read(path(w.target), back));
        EXPECT_EQ(shown(back), shown(written));
        if (FlacTag::IsFlac(w.target)) {
            const QStringList comment = vorbisComment(path(w.target));
            for (const QString& field : {QStringLiteral("TITLE=Été indien"), QStringLiteral("ARTIST=Zoé"),
                                         QStringLiteral("ALBUM=Chansons"), QStringLiteral("TRACKNUMBER=7")})
                EXPECT_TRUE(comment.contains(field)) << field.toStdString();
        }
        QFile::remove(path(w.target));
    }
}

TEST_F(FlacConverter, ASourceWithoutTagsGivesATargetWithout)
{
    makeSources();
    for (const Way& w : EveryWay) {
        SCOPED_TRACE(w.target);
        ASSERT_TRUE((converter.*w.convert)(path(w.source), path(w.target)));
        TagFields back;
        TMP3Info id3v1;
        if (FlacTag::IsFlac(w.target))
            EXPECT_EQ(vorbisComment(path(w.target)), QStringList());
        else
            EXPECT_FALSE(TrackTags::Read(id3v1, path(w.target), back));
        QFile::remove(path(w.target));
    }
}

TEST_F(FlacConverter, ATagThatCannotBeWrittenLeavesTheTargetsAsTheyWere)
{
    makeSources();
    ASSERT_TRUE(TestFiles::Write(path("t.flac"), "avant"));
    UnwritableTags unwritable;
    AudioFileConverter refusing{coder, unwritable};
    const QStringList before = files();
    for (const Way& w : EveryWay) {
        SCOPED_TRACE(w.target);
        EXPECT_EQ(errorOf([&] { (refusing.*w.convert)(path(w.source), path(w.target)); }),
                  QStringLiteral("Impossible d'écrire les tags dans le fichier \"%1\".").arg(path(w.target)));
    }
    EXPECT_EQ(files(), before);
    EXPECT_EQ(TestFiles::ReadAll(path("t.flac")), "avant");
}
