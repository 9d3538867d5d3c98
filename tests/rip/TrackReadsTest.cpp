#include "disc/AccurateRipDiscId.h"
#include "disc/DiscToc.h"
#include "platform/CdioAudioDevice.h"
#include "platform/CdioRipLibrary.h"
#include "platform/CurlHttpClient.h"
#include "rip/KnownDiscCheck.h"
#include "rip/RipLog.h"
#include "rip/RipReport.h"
#include "rip/TCDRIP.h"
#include "rip/TrackReads.h"
#include "support/AccurateRipFile.h"
#include "support/DiscImage.h"
#include "support/FlakySectors.h"
#include "support/ReferenceScript.h"
#include "support/RipTool.h"
#include "support/ScriptServer.h"
#include "support/TestFiles.h"
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
using Kind = FlakySectors::Kind;
constexpr int SectorBytes = DiscImage::SectorBytes;

// One track of 300 sectors read without paranoia's checks, so that bytes
// read wrong reach the file as a drive gives them.
class RepeatedReads : public ::testing::Test {
protected:
    void SetUp() override
    {
        image.AddAudioTrack(DiscImage::NoisePcm(300, 21));
        cue = image.WriteTo(dir.path());
    }

    TrackRipResult rip(int passes, const std::vector<std::tuple<Kind, int32_t, int32_t, std::set<int>>>& faults,
                       int stopIn = 0, KnownDiscCheck* discCheck = nullptr)
    {
        auto flaky = std::make_shared<FlakySectors>();
        for (const auto& [kind, first, count, reads] : faults)
            flaky->Add(kind, first, count, reads);
        CdioRipLibrary drive({cue});
        drive.SetReadFilter(flaky);
        TCDRIP ripper(drive);
        ripper.SetJitterCorrect(false);
        flaky->StopIn(stopIn, [&ripper] { ripper.AbortRip(); });
        const TrackRipResult result = TrackReads(ripper, passes, discCheck).Rip(1, path(), flaky.get());
        readsMade = flaky->Reads();
        return result;
    }
    QString path() const { return dir.filePath("1.pcm"); }
    QByteArray sectors(const QByteArray& pcm, int32_t first, int32_t count) const
    {
        return pcm.mid(first * SectorBytes, count * SectorBytes);
    }

    QTemporaryDir dir;
    DiscImage image;
    QString cue;
    int readsMade = 0;
};

QString hex(uint32_t v)
{
    return QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0')).toUpper();
}
} // namespace

TEST_F(RepeatedReads, ReadsUntilTwoAgreeAndKeepsTheBestRead)
{
    const struct {
        const char* name;
        int passes;
        std::vector<std::tuple<Kind, int32_t, int32_t, std::set<int>>> faults;
        int reads;
        QString line;
        bool fileIsDisc;
    } cases[] = {
        {"one pass reads once", 1, {}, 1, "", true},
        {"a clean disc", 2, {}, 2, "Piste 01 : deux lectures identiques après 2 lectures", true},
        {"the test read wrong", 5, {{Kind::WrongBytes, 100, 3, {1}}}, 3,
         "Piste 01 : deux lectures identiques après 3 lectures", true},
        {"the copy read wrong, replaced", 5, {{Kind::WrongBytes, 100, 3, {2}}}, 3,
         "Piste 01 : deux lectures identiques après 3 lectures", true},
        {"wrong differently each time", 3, {{Kind::WrongBytes, 100, 3, {1, 2, 3}}}, 3,
         "Piste 01 : aucune paire de lectures identiques sur 3", false},
        {"a wrong later read does not replace the file", 3, {{Kind::WrongBytes, 100, 3, {1, 3}}}, 3,
         "Piste 01 : aucune paire de lectures identiques sur 3", true},
        {"reads that lost the same sectors do not agree", 4, {{Kind::FailRead, 150, 1, {2, 3}}}, 4,
         "Piste 01 : deux lectures identiques après 4 lectures", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path());
        const TrackRipResult result = rip(c.passes, c.faults);
        EXPECT_EQ(readsMade, c.reads);
        EXPECT_TRUE(result.FileWritten);
        EXPECT_EQ(TestFiles::ReadAll(path()) == image.TrackAt(1).pcm, c.fileIsDisc);
        RipReport report;
        report.Add(result);
        EXPECT_EQ(report.PassLines().join('\n'), c.line);
        const QString log = RipLog::Text({QDateTime::currentDateTime(), cue, 0, "désactivé", c.passes}, report);
        EXPECT_EQ(log.contains("\n  CRC de test : " + hex(result.TestCrc) + "\n  CRC de copie : " + hex(result.Crc)),
                  c.passes > 1)
            << log.toStdString();
        EXPECT_EQ(log.contains("\nLectures par piste : jusqu'à " + QString::number(c.passes) + "\n"), c.passes > 1);
        if (c.passes > 1) {
            EXPECT_TRUE(log.contains("\n  Lectures : " + c.line.mid(QStringLiteral("Piste 01 : ").size()) + "\n"));
        }
    }
}

// No two reads agree: the file keeps the one that lost the fewest sectors,
// wherever it came in the reads.
TEST_F(RepeatedReads, WithoutAgreementTheFileKeepsTheReadThatLostTheLeast)
{
    const QByteArray disc = image.TrackAt(1).pcm;
    for (const bool fewestLast : {true, false}) {
        SCOPED_TRACE(fewestLast);
        QFile::remove(path());
        const std::set<int> many{fewestLast ? 2 : 3}, few{fewestLast ? 3 : 2};
        const TrackRipResult result = rip(3, {{Kind::FailRead, 50, 200, many}, {Kind::FailRead, 60, 1, few},
                                              {Kind::WrongBytes, 10, 1, {1}}});
        EXPECT_EQ(result.Reads, 3);
        EXPECT_FALSE(result.ReadsAgree);
        ASSERT_TRUE(result.LostSectors());
        EXPECT_LT(result.Read.UnreadSectors.size(), 100u);
        const QByteArray file = TestFiles::ReadAll(path());
        EXPECT_EQ(sectors(file, 100, 150), sectors(disc, 100, 150));
    }
}

TEST_F(RepeatedReads, CalvenorRipTakesFrom1To16Passes)
{
    const QStringList rip{"--drive", "x=" + cue, "x:", "--tracks", "1", "--dir", dir.filePath("d"), "--no-accuraterip",
                          "--no-ctdb"};
    const RipTool twice = RipTool::Run(rip + QStringList{"--passes", "2"});
    EXPECT_EQ(twice.exitCode, 0) << twice.err.toStdString();
    EXPECT_TRUE(twice.out.contains("Piste 01 : deux lectures identiques après 2 lectures\n"))
        << twice.out.toStdString();
    for (const QString bad : {"0", "17", "deux"}) {
        const RipTool refused = RipTool::Run(rip + QStringList{"--passes", bad});
        EXPECT_EQ(refused.exitCode, 2) << bad.toStdString();
        EXPECT_TRUE(refused.err.contains("--passes attend un")) << refused.err.toStdString();
    }
}

// A stop ends the reads: a stopped read never replaces a whole file, and a
// test read stopped leaves no file at all.
TEST_F(RepeatedReads, AStopEndsTheReadsAndKeepsTheWholeFile)
{
    const TrackRipResult inTest = rip(5, {}, 1);
    EXPECT_TRUE(inTest.Interrupted);
    EXPECT_FALSE(inTest.FileWritten);
    EXPECT_FALSE(QFile::exists(path()));
    RipReport report;
    report.Add(inTest);
    EXPECT_TRUE(report.DamageLines().isEmpty());
    EXPECT_TRUE(report.PassLines().isEmpty());
    EXPECT_TRUE(RipReport::InterruptionLine(inTest).endsWith("; aucun fichier n'a été créé."));

    const TrackRipResult inThird = rip(5, {{Kind::WrongBytes, 100, 3, {1}}}, 3);
    EXPECT_EQ(readsMade, 3);
    EXPECT_FALSE(inThird.Interrupted);
    EXPECT_EQ(inThird.Reads, 2);
    EXPECT_FALSE(inThird.ReadsAgree);
    EXPECT_EQ(TestFiles::ReadAll(path()), image.TrackAt(1).pcm);
}

// Two reads wrong the same way agree with each other, but not with the
// AccurateRip database that knows the disc: the reads go on.
TEST_F(RepeatedReads, ReadsThatDifferFromAKnownDiscDoNotEndTheReads)
{
    const QJsonObject track =
        ReferenceScript::Run("accuraterip_reference.py", image, cue)["tracks"].toArray().at(0).toObject();
    CdioAudioDevice device;
    RipVerification verification;
    verification.Toc = DiscToc::Read(device, cue);
    ASSERT_TRUE(AccurateRipFile::Write(dir.filePath("db/known"), AccurateRipDiscId(verification.Toc),
                                       {{{5, track["v2"].toString().toUInt(nullptr, 16)}}}));
    ScriptServer server(QStringLiteral(CALVENOR_SOURCE_DIR "/tests/rip/accuraterip_server.py"), {dir.filePath("db")});
    CurlHttpClient http;
    verification.Http = &http;
    for (const auto& [folder, reads, fileIsDisc] : {std::tuple{"known", 4, true}, {"unknown", 2, false}}) {
        SCOPED_TRACE(folder);
        verification.Server = QStringLiteral("http://127.0.0.1:%1/accuraterip/%2").arg(server.Port()).arg(folder);
        KnownDiscCheck check(verification);
        const TrackRipResult result = rip(5, {{Kind::SameWrongBytes, 100, 3, {1, 2}}}, 0, &check);
        EXPECT_EQ(readsMade, reads);
        EXPECT_TRUE(result.ReadsAgree);
        EXPECT_EQ(TestFiles::ReadAll(path()) == image.TrackAt(1).pcm, fileIsDisc);
    }
}
