#include "encode/TLameCoder.h"
#include "platform/FileError.h"
#include "encode/ECDRIPError.h"
#include "rip/IRipProgress.h"
#include "rip/TCDRIP.h"
#include "encode/WavHeader.h"
#include "support/FakeCdRipLibrary.h"
#include "support/FakeEncoderLibrary.h"
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {

QByteArray bytes(int n, char fill)
{
    return QByteArray(n, fill);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

uint32_t le32(const QByteArray& b, int offset)
{
    return qFromLittleEndian<uint32_t>(b.constData() + offset);
}

uint16_t le16(const QByteArray& b, int offset)
{
    return qFromLittleEndian<uint16_t>(b.constData() + offset);
}

// What a rip tells whoever runs it; onChunk runs at each percentage.
struct HeardProgress : IRipProgress {
    void TrackBegins(int number, const QString& path) override { begun << QString::number(number) + ' ' + path; }
    void ReadProgress(int percent) override
    {
        percents << percent;
        if (onChunk)
            onChunk();
    }
    void Breathe() override { ++breaths; }

    QStringList begun;
    QList<int> percents;
    int breaths = 0;
    std::function<void()> onChunk;
};

class RipperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        lib.SetAudioToc({0, 76, 200}, 300);
        lib.chunks = {{0, bytes(8, 'a')}, {0, bytes(8, 'b')}, {4, bytes(4, 'c')}};
    }
    std::unique_ptr<TCDRIP> make()
    {
        return std::make_unique<TCDRIP>(lib);
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    FakeCdRipLibrary lib;
    QTemporaryDir dir;
};

} // namespace

// A disc that starts at track 2 keeps its own numbers.
TEST_F(RipperTest, TrackListNamesKindsAndSectors)
{
    lib.toc = {{0, 0x10, 2}, {100, 0x14, 3}, {200, 0x12, 4}, {300, 0x00, 5}, {400, 0x10, 6}, {500, 0x15, 0xAA}};
    auto r = make();
    ASSERT_EQ(r->Tracks.size(), 5);
    EXPECT_EQ(r->Tracks[0].Name, "Track02");
    EXPECT_EQ(r->Tracks[4].Name, "Track06");
    QStringList kinds;
    for (const TrackEntry& e : r->Tracks)
        kinds << e.Track.Kind;
    EXPECT_EQ(kinds, QStringList({"Audio", "Data", "Data", "Data", "Audio"}));
    EXPECT_EQ(r->Tracks[4].Track.FirstSector, 400);
    EXPECT_EQ(r->Tracks[4].Track.LastSector, 499);
    EXPECT_EQ(r->Tracks[4].Track.TrackNum, 6);
    ASSERT_NE(r->TrackOf(6), nullptr);
    EXPECT_EQ(r->TrackOf(6)->FirstSector, 400);
    EXPECT_EQ(r->TrackOf(1), nullptr);
    EXPECT_EQ(TCDRIP::EntryName(9), "Track09");
    EXPECT_EQ(TCDRIP::EntryName(10), "Track10");
    EXPECT_EQ(TCDRIP::EntryName(100), "Track100");
}

TEST_F(RipperTest, TocEntriesAreAskedInPairsUpToTheLeadOut)
{
    make();
    EXPECT_EQ(lib.calls.filter("CR_GetTocEntry"),
              QStringList({"CR_GetTocEntry(0)", "CR_GetTocEntry(1)", "CR_GetTocEntry(1)", "CR_GetTocEntry(2)",
                           "CR_GetTocEntry(2)", "CR_GetTocEntry(3)"}));
    EXPECT_EQ(lib.calls.first(), "CR_GetCDRipVersion");
    EXPECT_EQ(lib.calls.at(1), "CR_Init");
}

TEST_F(RipperTest, CreationTakesTheDriveParameters)
{
    lib.activeCdRom = 2;
    lib.driveParams.set32(TCDRomParams::SpeedOffset, 24);
    lib.driveParams.set32(TCDRomParams::DriveTableOffset + 4 * 3, LITTLEENDIAN);
    lib.driveParams.set32(TCDRomParams::DriveTableOffset + 4 * 6, 1);
    lib.driveParams.set32(TCDRomParams::OutputFormatOffset, MONO22050);
    auto r = make();
    EXPECT_EQ(r->Version, "111");
    EXPECT_EQ(r->CDRomNum(), 2);
    EXPECT_EQ(r->Speed, 24);
    EXPECT_EQ(r->DriveTable().Endian(), LITTLEENDIAN);
    EXPECT_TRUE(r->DriveTable().Atapi());
    EXPECT_EQ(r->OutputFormat(), MONO22050);
    EXPECT_TRUE(r->JitterCorrect());
    EXPECT_EQ(r->Params.get32(TCDRomParams::JitterCorrectionOffset), -1);
}

TEST_F(RipperTest, FailuresAtCreation)
{
    {
        FakeCdRipLibrary unusable;
        unusable.initResult = 1;
        TCDRIP r(unusable);
        EXPECT_TRUE(r.Tracks.isEmpty());
        EXPECT_EQ(unusable.calls, QStringList({"CR_GetCDRipVersion", "CR_Init"}));
    }
    {
        lib.paramsResult = 1;
        lib.activeCdRom = 3;
        auto r = make();
        EXPECT_EQ(r->CDRomNum(), 0);
        EXPECT_FALSE(r->JitterCorrect());
        EXPECT_EQ(r->Tracks.size(), 3); // the table of contents is still read
    }
    {
        lib.paramsResult = 0;
        lib.readTocResult = 1;
        EXPECT_TRUE(make()->Tracks.isEmpty());
    }
    lib.readTocResult = 0;
    lib.throwOn = "CR_ReadToc";
    try {
        make();
        FAIL() << "no error";
    } catch (const ECDRIPError& e) {
        EXPECT_EQ(e.message(), "Initialization failure");
    }
}

TEST_F(RipperTest, DriveSelection)
{
    auto r = make();
    lib.calls.clear();
    r->SetCDRomNum(0);
    EXPECT_TRUE(lib.calls.isEmpty()) << "same drive: nothing happens";

    lib.driveParams.set32(TCDRomParams::SpeedOffset, 8);
    r->SetCDRomNum(1);
    EXPECT_EQ(r->CDRomNum(), 1);
    EXPECT_EQ(r->Speed, 8);
    EXPECT_EQ(lib.calls.mid(0, 3), QStringList({"CR_SetActiveCDROM(1)", "CR_GetCDROMParameters", "CR_ReadToc"}));
    EXPECT_EQ(r->Tracks.size(), 3) << "the list is read anew, not appended to";

    lib.setActiveResult = 1;
    r->SetCDRomNum(2);
    EXPECT_EQ(r->CDRomNum(), 1);
    EXPECT_EQ(r->Tracks.size(), 3);

    lib.setActiveResult = 0;
    lib.throwOn = "CR_SetActiveCDROM";
    EXPECT_THROW(r->SetCDRomNum(2), ECDRIPError);
}

TEST_F(RipperTest, PcmRipWritesEveryDeliveredChunkAndReportsProgress)
{
    lib.chunks = {{0, bytes(8, 'a')}, {1, bytes(8, 'x')}, {3, bytes(8, 'b'), 10, 20}, {4, bytes(4, 'c')}};
    auto r = make();
    HeardProgress heard;
    const TrackRipResult rip = r->RipTrack(2, path("t.pcm"), &heard);
    EXPECT_EQ(readAll(path("t.pcm")), bytes(8, 'a') + bytes(8, 'b') + bytes(4, 'c'));
    EXPECT_EQ(heard.percents, QList<int>({25, 50, 75, 100}));
    EXPECT_EQ(heard.breaths, 4) << "one breath per chunk";
    EXPECT_EQ(heard.begun, QStringList({"2 " + path("t.pcm")}));
    EXPECT_EQ(rip.TrackNum, 2);
    EXPECT_EQ(rip.Path, path("t.pcm"));
    EXPECT_EQ(rip.FirstSector, 76);
    EXPECT_EQ(rip.LastSector, 199);
    EXPECT_TRUE(rip.FileWritten);
    EXPECT_FALSE(rip.Interrupted);
    EXPECT_EQ(lib.calls.filter("CR_OpenRipper"), QStringList({"CR_OpenRipper(76,199)"}));
    EXPECT_EQ(lib.count("CR_CloseRipper"), 1);
}

TEST_F(RipperTest, WavHeaderFieldsAndSizesOfWhatWasWritten)
{
    lib.SetAudioToc({0}, 76);
    auto r = make();
    r->SetFileFormat(FileFormat::Wav);
    r->RipTrack(1, path("a.wav"));
    const QByteArray wav = readAll(path("a.wav"));
    ASSERT_EQ(wav.size(), 44 + 20);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(le32(wav, 16), 16u);
    EXPECT_EQ(le16(wav, 20), 1);
    EXPECT_EQ(le16(wav, 22), 2);
    EXPECT_EQ(le32(wav, 24), 44100u);
    EXPECT_EQ(le32(wav, 28), 176400u);
    EXPECT_EQ(le16(wav, 32), 4);
    EXPECT_EQ(le16(wav, 34), 16);
    EXPECT_EQ(wav.mid(36, 4), "data");
    // The header tells the audio the file holds, not the size planned.
    EXPECT_EQ(le32(wav, 40), 20u);
    EXPECT_EQ(le32(wav, 4), 56u);
    // Sectors 0..75 plan exactly one second.
    EXPECT_EQ(WavHeader::AnnouncedDataSize(2, 44100, 0, 75), 176400u);
}

TEST_F(RipperTest, MonoWavHeader)
{
    lib.driveParams.set32(TCDRomParams::OutputFormatOffset, MONO22050);
    auto r = make();
    r->SetFileFormat(FileFormat::Wav);
    r->RipTrack(1, path("m.wav"));
    const QByteArray wav = readAll(path("m.wav"));
    EXPECT_EQ(le16(wav, 22), 1);
    EXPECT_EQ(le32(wav, 24), 22050u);
    EXPECT_EQ(le32(wav, 28), 44100u);
    EXPECT_EQ(le16(wav, 32), 2);
    EXPECT_EQ(lib.appliedParams.get32(TCDRomParams::OutputFormatOffset), MONO22050);
}

TEST_F(RipperTest, StopEndsTheRipAfterTheCurrentChunk)
{
    auto r = make();
    r->SetFileFormat(FileFormat::Wav);
    HeardProgress stopper;
    stopper.onChunk = [&] { r->AbortRip(); };
    const TrackRipResult stopped = r->RipTrack(1, path("s.wav"), &stopper);
    EXPECT_FALSE(QFile::exists(path("s.wav"))) << "the part read never takes the track's name";
    EXPECT_EQ(stopped.Path, path("s (incomplet).wav"));
    const QByteArray wav = readAll(path("s (incomplet).wav"));
    EXPECT_EQ(wav.mid(44), bytes(8, 'a'));
    EXPECT_EQ(le32(wav, 40), 8u);
    EXPECT_EQ(lib.count("CR_RipChunk"), 1);
    EXPECT_EQ(lib.count("CR_CloseRipper"), 1);
    EXPECT_TRUE(stopped.Interrupted);
    EXPECT_TRUE(stopped.FileWritten) << "the part read is kept";
    EXPECT_FALSE(stopped.HasChecksums);
    // A new rip starts afresh.
    const TrackRipResult whole = r->RipTrack(1, path("t.wav"));
    EXPECT_EQ(readAll(path("t.wav")).size(), 44 + 20);
    EXPECT_FALSE(whole.Interrupted);
    EXPECT_TRUE(whole.HasChecksums);
}

TEST_F(RipperTest, JitterLinesAccumulateAcrossRips)
{
    lib.chunks = {{3, bytes(8, 'a'), 1, 2}, {4, bytes(8, 'b')}};
    lib.jitterErrors = 1;
    auto r = make();
    r->RipTrack(1, path("01 - Un.wav"));
    EXPECT_EQ(r->JitterErrors, 1);
    EXPECT_EQ(readAll(path("01 - Unjitt")), "1 2\r\n");
    lib.chunks = {{3, bytes(8, 'a'), 4294967295u, 7}, {4, bytes(8, 'b')}};
    r->RipTrack(1, path("02 - Deux.wav"));
    EXPECT_EQ(readAll(path("02 - Deuxjitt")), "1 2\r\n4294967295 7\r\n");
    EXPECT_EQ(TCDRIP::JitterLogPath("/m/01 - Titre.mp3"), "/m/01 - Titrejitt");
}

TEST_F(RipperTest, ParameterFailuresCreateNoFile)
{
    auto r = make();
    lib.setParamsResult = 1;
    try {
        r->RipTrack(1, path("p.wav"));
        FAIL() << "no error";
    } catch (const ECDRIPError& e) {
        EXPECT_EQ(e.message(), "Invalid CD-ROM parameters");
    }
    EXPECT_FALSE(QFile::exists(path("p.wav")));
    lib.setParamsResult = 0;
    lib.throwOn = "CR_SetCDROMParameters";
    try {
        r->RipTrack(1, path("p.wav"));
        FAIL() << "no error";
    } catch (const ECDRIPError& e) {
        EXPECT_EQ(e.message(), "Error setting parameters");
    }
    EXPECT_EQ(lib.count("CR_OpenRipper"), 0);
}

TEST_F(RipperTest, RipperThatCannotOpenIsNoError)
{
    lib.openResult = 1;
    auto r = make();
    HeardProgress heard;
    const TrackRipResult rip = r->RipTrack(1, path("o.wav"), &heard);
    EXPECT_EQ(heard.begun.size(), 1);
    EXPECT_EQ(rip.TrackNum, 1) << "the track the disc could not give is named";
    EXPECT_FALSE(rip.FileWritten);
    EXPECT_FALSE(QFile::exists(path("o.wav")));
}

TEST_F(RipperTest, FileThatCannotBeCreated)
{
    auto r = make();
    const QString bad = path("missing/folder/x.wav");
    try {
        r->RipTrack(1, bad);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_TRUE(e.message().startsWith("Impossible de créer le fichier \"" + bad + "\". ")) << e.message().toStdString();
    }
    EXPECT_EQ(lib.count("CR_CloseRipper"), 1);
}

TEST_F(RipperTest, WriteErrorEndsTheRipWithoutJitterLog)
{
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    lib.chunks = {{3, bytes(8, 'a'), 1, 2}, {4, bytes(8, 'b')}};
    auto r = make();
    try {
        r->RipSectors(0, 10, "/dev/full");
        FAIL() << "no error";
    } catch (const ECDRIPError& e) {
        EXPECT_EQ(e.message(), QString::fromUtf8("Le disque est plein : le fichier \"/dev/full\" n'a pas pu être écrit en entier."));
    }
    EXPECT_EQ(lib.count("CR_RipChunk"), 1);
    EXPECT_EQ(lib.count("CR_CloseRipper"), 1);
    EXPECT_EQ(lib.count("CR_GetNumberOfJitterErrors"), 1);
}

TEST_F(RipperTest, EncodeWithoutCoderDropsTheAudioIntoAnMp3Name)
{
    auto r = make();
    r->SetFileFormat(FileFormat::Mp3);
    r->RipTrack(1, path("e.wav"));
    EXPECT_FALSE(QFile::exists(path("e.wav")));
    EXPECT_EQ(readAll(path("e.mp3")), QByteArray());
}

TEST_F(RipperTest, Mp3RoadEncodesWholeBlocksAndPadsTheLastOne)
{
    FakeEncoderLibrary enc;
    enc.samplesPerChunk = 4; // 8-byte blocks
    TLameCoder coder(enc);
    coder.SetSampleRate(32000);
    coder.SetMode(JSTEREO);
    // 10 blocks and 7 bytes, in chunks that do not fall on block edges.
    QByteArray audio;
    for (int i = 0; i < 87; ++i)
        audio.append(char(i + 1));
    lib.chunkBufferSize = 30;
    lib.chunks = {{0, audio.mid(0, 30)}, {0, audio.mid(30, 30)}, {4, audio.mid(60)}};
    auto r = make();
    r->SetCoder(&coder);
    EXPECT_EQ(coder.Mode(), STEREO);
    EXPECT_EQ(coder.SampleRate(), 44100u);
    r->SetFileFormat(FileFormat::Mp3);
    r->RipTrack(1, path("x.wav"));

    ASSERT_EQ(enc.chunks.size(), 11);
    QByteArray fed;
    for (const QByteArray& c : enc.chunks)
        fed += c;
    EXPECT_EQ(fed, audio + QByteArray(1, '\0')) << "the last 7 bytes padded with silence";
    EXPECT_EQ(enc.deinits, 1);
    EXPECT_EQ(enc.closes, 1);
    const QByteArray mp3 = readAll(path("x.mp3"));
    EXPECT_EQ(mp3.size(), 11 * 3 + 2);
    EXPECT_EQ(mp3.right(2), QByteArray(2, char(0xEE))) << "the flush comes last";
}

TEST_F(RipperTest, EncoderThatDoesNotStartIsAnErrorNotADivisionByZero)
{
    FakeEncoderLibrary enc;
    enc.initResult = 2;
    TLameCoder coder(enc);
    auto r = make();
    r->SetCoder(&coder);
    r->SetFileFormat(FileFormat::Mp3);
    EXPECT_THROW(r->RipTrack(1, path("y.mp3")), ECDRIPError);
    EXPECT_EQ(enc.closes, 0);
    EXPECT_EQ(lib.count("CR_CloseRipper"), 1);
}
