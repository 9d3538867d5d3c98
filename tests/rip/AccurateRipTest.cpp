#include "disc/DiscToc.h"
#include "platform/CalvenorError.h"
#include "platform/CdioAudioDevice.h"
#include "platform/CdioRipLibrary.h"
#include "platform/CurlHttpClient.h"
#include "rip/AccurateRipChecksums.h"
#include "rip/AccurateRipDatabase.h"
#include "rip/AccurateRipVerdict.h"
#include "disc/AccurateRipDiscId.h"
#include "rip/Playlist.h"
#include "rip/ReadOffsetFinder.h"
#include "rip/ReadOffsetLibrary.h"
#include "rip/RipLog.h"
#include "rip/RipReport.h"
#include "rip/SlidingAccurateRipSum.h"
#include "rip/TCDRIP.h"
#include "support/AccurateRipFile.h"
#include "support/DiscImage.h"
#include "support/FailingDrive.h"
#include "support/ReferenceScript.h"
#include "support/ScriptServer.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {
const QString Scripts = QStringLiteral(CALVENOR_SOURCE_DIR "/tests/rip/");

// Three audio tracks then a data track, as on an enhanced CD; track 2 is
// long enough to lose 100 sectors in its middle.
class AccurateRip : public ::testing::Test {
protected:
    void SetUp() override
    {
        image.AddAudioTrack(DiscImage::NoisePcm(30, 7))
            .AddAudioTrack(DiscImage::NoisePcm(400, 8))
            .AddAudioTrack(DiscImage::SinePcm(25, 1000))
            .AddDataTrack(20);
        cue = image.WriteTo(dir.path());
        toc = DiscToc::Read(device, cue);
    }

    // Rips the audio tracks to WAV files; returns the ripper's report.
    RipReport ripAll(ICdRipLibrary& lib, int32_t offset = 0)
    {
        TCDRIP ripper(lib);
        ripper.SetFileFormat(FileFormat::Wav);
        ripper.ReadOffset = offset;
        RipReport report;
        for (int t = 1; t <= 3; ++t) {
            report.Add(ripper.RipTrack(t, dir.filePath(QStringLiteral("%1.wav").arg(t))));
        }
        return report;
    }

    QJsonObject reference() const { return ReferenceScript::Run("accuraterip_reference.py", image, cue); }

    void writeDatabase(const QString& folder, const AccurateRipDiscId& disc,
                       const QList<AccurateRipFile::Response>& responses, uint32_t otherDisc = 0)
    {
        ASSERT_TRUE(AccurateRipFile::Write(folder, disc, responses, otherDisc));
    }

    QTemporaryDir dir;
    DiscImage image;
    QString cue;
    CdioAudioDevice device;
    DiscToc toc;
};

QString hex(uint32_t v)
{
    return QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0')).toUpper();
}
} // namespace

TEST_F(AccurateRip, ChecksumsAndDiscIdentifierMatchAnIndependentReference)
{
    CdioRipLibrary lib({cue});
    const RipReport report = ripAll(lib);
    const QJsonObject expected = reference();
    ASSERT_EQ(expected["tracks"].toArray().size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QJsonObject want = expected["tracks"].toArray().at(i).toObject();
        const TrackRipResult& got = report.Tracks().at(i);
        SCOPED_TRACE(i + 1);
        EXPECT_TRUE(got.ReadWhole());
        ASSERT_TRUE(got.HasChecksums);
        EXPECT_EQ(hex(got.Crc).toStdString(), want["crc32"].toString().toStdString());
        EXPECT_EQ(hex(got.V1).toStdString(), want["v1"].toString().toStdString());
        EXPECT_EQ(hex(got.V2).toStdString(), want["v2"].toString().toStdString());
    }
    const AccurateRipDiscId disc(toc);
    EXPECT_EQ(disc.AudioTrackCount(), 3);
    EXPECT_EQ(disc.DatabasePath().toStdString(), expected["path"].toString().toStdString());
}

TEST_F(AccurateRip, ReadOffsetShiftsAcrossTrackBoundariesWithSilenceBeyondTheDisc)
{
    QByteArray audio;
    for (const DiscImage::Track& t : image.Tracks())
        audio += t.pcm;
    const struct {
        int track;
        int32_t offset;
    } cases[] = {{1, -700}, {2, 1000}, {2, -3}, {3, 700}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        CdioRipLibrary lib({cue});
        TCDRIP ripper(lib);
        ripper.ReadOffset = c.offset;
        const QString path = dir.filePath("offset.pcm");
        const TrackRipResult rip = ripper.RipTrack(c.track, path);
        const DiscImage::Track& t = image.TrackAt(c.track);
        const qsizetype start = qsizetype(t.firstSector) * DiscImage::SectorBytes + c.offset * 4;
        QByteArray want(t.pcm.size(), '\0');
        for (qsizetype i = 0; i < want.size(); ++i)
            if (start + i >= 0 && start + i < audio.size())
                want[i] = audio.at(start + i);
        EXPECT_TRUE(TestFiles::ReadAll(path) == want);
        EXPECT_TRUE(rip.ReadWhole());
    }
}

TEST_F(AccurateRip, EachVerdictFromALocalDatabase)
{
    CdioRipLibrary lib({cue});
    RipReport ripped = ripAll(lib);
    const AccurateRipDiscId disc(toc);
    const auto sums = [&](int i) { return ripped.Tracks().at(i); };
    const QString root = dir.filePath("db");
    writeDatabase(root + "/exact", disc,
                  {{{3, sums(0).V2}, {3, 1}, {3, sums(2).V2}}, {{9, sums(0).V1}, {8, sums(1).V1}, {1, 2}}});
    writeDatabase(root + "/different", disc, {{{4, sums(0).V2}, {4, sums(1).V2 + 1}, {4, sums(2).V2}}});
    writeDatabase(root + "/otherdisc", disc, {{{4, sums(0).V2}, {4, sums(1).V2}, {4, sums(2).V2}}}, 0x100);
    ScriptServer server(Scripts + "accuraterip_server.py", {root});
    CurlHttpClient http;

    const struct {
        const char* folder;
        QStringList lines;
        bool differs;
    } cases[] = {
        {"exact",
         {"Piste 01 : exacte (AccurateRip v1, confiance 9)", "Piste 02 : exacte (AccurateRip v1, confiance 8)",
          "Piste 03 : exacte (AccurateRip v2, confiance 3)"},
         false},
        {"different",
         {"Piste 01 : exacte (AccurateRip v2, confiance 4)", "Piste 02 : différente de la base AccurateRip",
          "Piste 03 : exacte (AccurateRip v2, confiance 4)"},
         true},
        {"otherdisc",
         {"Piste 01 : absente de la base AccurateRip", "Piste 02 : absente de la base AccurateRip",
          "Piste 03 : absente de la base AccurateRip"},
         false},
        {"missing",
         {"Piste 01 : absente de la base AccurateRip", "Piste 02 : absente de la base AccurateRip",
          "Piste 03 : absente de la base AccurateRip"},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        AccurateRipDatabase database(http, QStringLiteral("http://127.0.0.1:%1/accuraterip/%2").arg(server.Port()).arg(c.folder));
        RipReport report = ripped;
        report.Verify(database, disc);
        EXPECT_EQ(report.VerdictLines(), c.lines);
        EXPECT_EQ(report.DiffersFromKnownDisc(), c.differs);
        EXPECT_TRUE(report.VerificationNote().isEmpty());
    }
    // A track cut short (the disc removed) keeps its checksums but gets no verdict.
    RipReport cut;
    for (TrackRipResult t : ripped.Tracks()) {
        t.Interrupted = t.TrackNum == 2;
        cut.Add(t);
    }
    AccurateRipDatabase exact(http, QStringLiteral("http://127.0.0.1:%1/accuraterip/exact").arg(server.Port()));
    cut.Verify(exact, disc);
    EXPECT_EQ(cut.VerdictLines(), QStringList({"Piste 01 : exacte (AccurateRip v1, confiance 9)",
                                               "Piste 03 : exacte (AccurateRip v2, confiance 3)"}));
}

TEST_F(AccurateRip, LostSectorsAreToldByTheRipperTheSummaryAndTheLog)
{
    FailingDrive drive({cue});
    const int32_t track2 = image.TrackAt(2).firstSector;
    drive.FailSectors(track2 + 120, 100);
    RipReport report = ripAll(drive);
    report.SkipVerification(QStringLiteral("non consultée (--no-accuraterip)"));

    const TrackRipResult& damaged = report.Tracks().at(1);
    EXPECT_TRUE(damaged.FileWritten);
    EXPECT_FALSE(damaged.ReadWhole());
    EXPECT_TRUE(report.LostSectors());
    EXPECT_EQ(report.DamageLines(), QStringList{"Piste 02 : 100 secteurs illisibles (00:01.45 – 00:02.70)"});
    EXPECT_TRUE(report.VerdictLines().isEmpty());
    const QByteArray wav = TestFiles::ReadAll(dir.filePath("2.wav"));
    EXPECT_EQ(wav.mid(44 + 120 * DiscImage::SectorBytes, 100 * DiscImage::SectorBytes),
              QByteArray(100 * DiscImage::SectorBytes, '\0'));

    const QString log = Playlist::FileName(dir.path(), "A", "B", RipLog::Ending);
    EXPECT_EQ(log, dir.filePath("A - B - Rapport.log"));
    RipLog::Save(log, {QDateTime::currentDateTime(), cue, 0, QStringLiteral("complet"), 1, QStringLiteral("image a.cue")},
                 report);
    const QString text = QString::fromUtf8(TestFiles::ReadAll(log));
    EXPECT_TRUE(text.contains("\nLecteur : image a.cue\nDécalage de lecture : 0 échantillons\n"));
    EXPECT_TRUE(text.contains("  Secteurs illisibles : 100 (00:01.45 – 00:02.70)\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("AccurateRip : non consultée (--no-accuraterip)\n"));
    EXPECT_TRUE(text.contains("  AccurateRip v2 : " + hex(report.Tracks().at(0).V2) + "\n"));
    EXPECT_TRUE(text.endsWith("Résumé : 3 piste(s) rippée(s), 1 avec des secteurs illisibles.\n"));
}

// The last sectors of a disc lie outside its checksums: a track that lost
// them matches the database all the same, and must not be called exact.
TEST_F(AccurateRip, ATrackWithLostSectorsIsNeverCalledExact)
{
    CdioRipLibrary clean({cue});
    const RipReport cleanRip = ripAll(clean);
    const AccurateRipDiscId disc(toc);
    const QString root = dir.filePath("db");
    writeDatabase(root + "/exact", disc,
                  {{{5, cleanRip.Tracks().at(0).V2}, {5, cleanRip.Tracks().at(1).V2}, {5, cleanRip.Tracks().at(2).V2}}});
    ScriptServer server(Scripts + "accuraterip_server.py", {root});
    CurlHttpClient http;
    AccurateRipDatabase database(http, QStringLiteral("http://127.0.0.1:%1/accuraterip/exact").arg(server.Port()));

    FailingDrive damaged({cue});
    damaged.FailSectors(image.TrackAt(3).lastSector, 1);
    RipReport report = ripAll(damaged);
    ASSERT_EQ(report.Tracks().at(2).V2, cleanRip.Tracks().at(2).V2);
    report.Verify(database, disc);
    EXPECT_EQ(report.VerdictLines(), QStringList({"Piste 01 : exacte (AccurateRip v2, confiance 5)",
                                                  "Piste 02 : exacte (AccurateRip v2, confiance 5)"}));
    EXPECT_EQ(report.DamageLines(), QStringList{"Piste 03 : 1 secteur illisible (00:00.24 – 00:00.25)"});
}

// Every shift of the sliding sum equals the sum made afresh at that offset,
// the first and the last track's edges left out, and never rules out that
// offset's v2 sum.
TEST(SlidingAccurateRipSum, EachShiftMatchesTheSumMadeAfresh)
{
    const QByteArray pcm = DiscImage::NoisePcm(12, 5);
    std::vector<uint32_t> samples(size_t(pcm.size() / 4));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = qFromLittleEndian<uint32_t>(pcm.constData() + 4 * i);
    constexpr int margin = 40;
    for (const auto& [first, last] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
        SCOPED_TRACE(first * 2 + last);
        SlidingAccurateRipSum sliding(samples, margin, first, last);
        do {
            AccurateRipChecksums direct(first, last);
            direct.Add(reinterpret_cast<const uint8_t*>(sliding.TrackAt(sliding.Offset())),
                       sliding.TrackSamples() * 4);
            ASSERT_EQ(sliding.V1(), direct.V1()) << sliding.Offset();
            ASSERT_TRUE(sliding.MayBeV2(direct.V2())) << sliding.Offset();
            ASSERT_FALSE(sliding.MayBeV2(direct.V2() + 0x80000000u)) << sliding.Offset();
        } while (sliding.Next());
        EXPECT_EQ(sliding.Offset(), margin);
    }
}

// A drive that reads its audio `shift` samples early needs the read offset
// +shift; the database knows the first track's v1 or v2 sum only. Reading
// before the disc gives silence, so a late drive is found as far as the
// first track's edge reaches.
TEST_F(AccurateRip, ReadOffsetFinderFindsTheDrivesShiftFromTheDatabase)
{
    const QJsonObject track1 = reference()["tracks"].toArray().at(0).toObject();
    const auto sum = [&](const char* version) { return track1[version].toString().toUInt(nullptr, 16); };
    const AccurateRipDiscId disc(toc);
    const QString root = dir.filePath("db");
    writeDatabase(root + "/v1", disc, {{{12, sum("v1")}, {5, 1}, {5, 2}}});
    writeDatabase(root + "/v2", disc, {{{3, 7}, {5, 1}, {5, 2}}, {{7, sum("v2")}, {5, 1}, {5, 2}}});
    writeDatabase(root + "/none", disc, {{{7, sum("v1") + 1}, {5, 1}, {5, 2}}});
    ScriptServer server(Scripts + "accuraterip_server.py", {root});
    CurlHttpClient http;
    const struct {
        int shift;
        const char* folder;
        int confidence; // 0: nothing found
    } cases[] = {{667, "v1", 12}, {-1234, "v2", 7}, {-2939, "v1", 12}, {30, "none", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shift);
        CdioRipLibrary lib({cue});
        TCDRIP ripper(lib);
        ReadOffsetLibrary drive(lib, -c.shift, image.TrackAt(1).firstSector, image.TrackAt(3).lastSector);
        AccurateRipDatabase database(http, QStringLiteral("http://127.0.0.1:%1/accuraterip/%2").arg(server.Port()).arg(c.folder));
        const auto found = ReadOffsetFinder(drive, toc).Find(database);
        ASSERT_EQ(found.has_value(), c.confidence > 0);
        if (found) {
            EXPECT_EQ(found->Offset, c.shift);
            EXPECT_EQ(found->Confidence, c.confidence);
        }
    }
    CdioRipLibrary lib({cue});
    TCDRIP ripper(lib);
    AccurateRipDatabase unknown(http, QStringLiteral("http://127.0.0.1:%1/accuraterip/missing").arg(server.Port()));
    EXPECT_THROW(ReadOffsetFinder(lib, toc).Find(unknown), CalvenorError);
}

// A mixed-mode disc, data track first: the database answers for the data
// track in slot 1, and each audio track in the slot of its number.
TEST(AccurateRipSlot, AnAudioTrackAfterALeadingDataTrackMatchesItsOwnSlot)
{
    TocTrack data;
    data.audio = false;
    data.number = 1;
    data.length = 1000;
    TocTrack audio;
    audio.number = 2;
    audio.start = 1000;
    audio.length = 500;
    TocTrack last = audio;
    last.number = 3;
    last.start = 1500;
    const AccurateRipDiscId disc(DiscToc({data, audio, last}, 2000));
    AccurateRipResponse response;
    response.TrackCount = disc.AudioTrackCount();
    response.OffsetsAdded = disc.OffsetsAdded();
    response.OffsetsMultiplied = disc.OffsetsMultiplied();
    response.CddbId = disc.CddbId();
    response.Tracks = {{0, 0, 0}, {7, 0xabcd, 0}};
    const AccurateRipVerdict verdict = AccurateRipVerdict::Of({response}, disc, disc.Slot(2), 1, 0xabcd);
    EXPECT_EQ(verdict.Detail(), "exacte (AccurateRip v2, confiance 7)");
    // The database keeps no slot for the last audio track of such a disc.
    EXPECT_EQ(AccurateRipVerdict::Of({response}, disc, disc.Slot(3), 1, 0xabcd).Result, AccurateRipVerdict::Absent);
}
