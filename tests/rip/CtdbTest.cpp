#include "disc/DiscToc.h"
#include "platform/CdioAudioDevice.h"
#include "platform/CdioRipLibrary.h"
#include "platform/CurlHttpClient.h"
#include "rip/CtdbCrc.h"
#include "rip/CtdbDatabase.h"
#include "rip/RipLog.h"
#include "rip/RipReport.h"
#include "rip/RipVerification.h"
#include "rip/TCDRIP.h"
#include "rip/TrackSums.h"
#include "support/DiscImage.h"
#include "support/DotNetRandom.h"
#include "support/FakeHttpClient.h"
#include "support/ReferenceScript.h"
#include "support/ScriptServer.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace {
// Three audio tracks then a data track, as on an enhanced CD; 102 sectors of
// audio, not a whole number of the database's 10-sector rows.
class Ctdb : public ::testing::Test {
protected:
    void SetUp() override
    {
        image.AddAudioTrack(DiscImage::NoisePcm(30, 17))
            .AddAudioTrack(DiscImage::NoisePcm(47, 18))
            .AddAudioTrack(DiscImage::SinePcm(25, 440))
            .AddDataTrack(20);
        cue = image.WriteTo(dir.path());
        toc = DiscToc::Read(device, cue);
        expected = ReferenceScript::Run("ctdb_reference.py", image, cue);
    }

    // Rips the tracks one by one in the order given, as separate runs would.
    RipReport rip(const QList<int>& order)
    {
        CdioRipLibrary lib({cue});
        TCDRIP ripper(lib);
        ripper.SetFileFormat(FileFormat::Wav);
        RipReport report;
        for (int t : order)
            report.Add(ripper.RipTrack(t, dir.filePath(QStringLiteral("%1.wav").arg(t))));
        return report;
    }

    // The database's answer, one entry per (crc32, confidence, trackcrcs).
    void writeAnswer(const QString& folder, const QList<std::tuple<QString, int, QString>>& entries)
    {
        QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                         "<ctdb xmlns=\"http://db.cuetools.net/ns/mmd-1.0#\">\n";
        for (const auto& [crc, confidence, tracks] : entries)
            xml += QStringLiteral("  <entry confidence=\"%1\" crc32=\"%2\" id=\"7\" npar=\"8\" stride=\"5880\" "
                                  "toc=\"%3\"%4 />\n")
                       .arg(confidence)
                       .arg(crc.toLower(), toc.CtdbLookupToc(),
                            tracks.isEmpty() ? QString() : " trackcrcs=\"" + tracks + '"')
                       .toUtf8();
        xml += "</ctdb>\n";
        const QString path = dir.filePath("db/" + folder + '/' + toc.CtdbLookupToc().replace(':', '_') + ".xml");
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_TRUE(TestFiles::Write(path, xml));
    }

    QTemporaryDir dir;
    DiscImage image;
    QString cue;
    CdioAudioDevice device;
    DiscToc toc;
    QJsonObject expected;
};

QString hex(uint32_t v)
{
    return QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0'));
}

QString hexList(const QList<uint32_t>& values)
{
    QStringList words;
    for (uint32_t v : values)
        words << hex(v);
    return words.join(' ');
}

// A disc of these track starts and lead-out whose audio tracks were all read
// whole, each with the CRC given whatever the disc's length.
RipReport ripped(const DiscToc& toc, const QList<uint32_t>& crcs)
{
    RipReport report;
    for (const TocTrack& disc : toc.AudioTracks()) {
        TrackRipResult t;
        t.TrackNum = disc.number;
        t.FirstSector = disc.start;
        t.LastSector = disc.end();
        t.FileWritten = true;
        t.Read.RangeFinished = true;
        t.HasChecksums = true;
        t.CtdbCrcs.fill(crcs.at(disc.number - 1));
        report.Add(t);
    }
    return report;
}

DiscToc tocOf(const QList<int32_t>& starts, int32_t leadOut)
{
    QList<TocTrack> tracks;
    for (int k = 0; k < starts.size(); ++k) {
        TocTrack track;
        track.number = k + 1;
        track.start = starts.at(k);
        track.length = (k + 1 < starts.size() ? starts.at(k + 1) : leadOut) - track.start;
        tracks << track;
    }
    return DiscToc(tracks, leadOut);
}
} // namespace

TEST_F(Ctdb, DiscAndTrackCrcsAndLookupTableMatchAnIndependentReference)
{
    EXPECT_EQ(toc.CtdbLookupToc().toStdString(), expected["toc"].toString().toStdString());
    // Tracks ripped out of order still join in disc order.
    const std::optional<CtdbCrc::Sums> sums = CtdbCrc::Of(toc, rip({3, 1, 2}).Tracks());
    ASSERT_TRUE(sums.has_value());
    EXPECT_EQ(hex(sums->Disc).toUpper().toStdString(), expected["crc32"].toString().toStdString());
    EXPECT_EQ(hexList(sums->Tracks).toStdString(), expected["trackcrcs"].toString().toStdString());
    // Without every audio track there is no disc CRC.
    EXPECT_FALSE(CtdbCrc::Of(toc, rip({1, 3}).Tracks()).has_value());
}

// The database's own test of its CRC: a 10-minute disc of one track whose
// audio .NET's Random(2423).NextBytes draws (gchudov/cuetools.net,
// CUETools/CUETools.TestParity/CDRepairEncodeTest.cs, CDRepairEncodeWriteTest).
TEST(CtdbReference, TheDatabasesOwnTestDiscGivesItsCrc)
{
    constexpr int32_t sectors = 44100 * 60 * 10 / 588;
    const DiscToc disc = tocOf({0}, sectors);
    TrackSums sums(int64_t{sectors} * CtdbCrc::SectorBytes, true, true, false);
    DotNetRandom random(2423);
    std::vector<uint8_t> piece(588 * 4 * 75);
    for (int32_t done = 0; done < sectors; done += 75) {
        random.NextBytes(piece.data(), static_cast<int64_t>(piece.size()));
        sums.Add(piece.data(), static_cast<int64_t>(piece.size()));
    }
    RipReport report = ripped(disc, {0});
    TrackRipResult track = report.Tracks().first();
    sums.Into(track);
    const std::optional<CtdbCrc::Sums> crcs = CtdbCrc::Of(disc, {track});
    ASSERT_TRUE(crcs.has_value());
    EXPECT_EQ(crcs->Disc, 2278257733u);
}

// Answers the database gave for real discs, kept by other projects' tests and notes:
// each disc's CRC is its track CRCs joined, the last track's part ending 10
// sectors plus the disc's length modulo 10 sectors before the audio does.
TEST(CtdbReference, RealAnswersJoinTheirTrackCrcsAndTellEachTrack)
{
    const struct {
        const char* source;
        QList<int32_t> starts;
        int32_t leadOut;
        uint32_t crc;
        int confidence;
        QList<uint32_t> tracks;
    } cases[] = {
        {"bmwalters/python-cuetoolsdb, api.org", {0, 16032, 32072, 47282}, 62810, 0x5457b143, 8,
         {0x97217ee6, 0xdc8a2af2, 0x338369b1, 0x2eac339c}},
        // Track 1 at sector 37: the length counts from its INDEX 01.
        {"prietus/drtagger-mac, Packages/ProviderKit/Tests/ProviderKitTests/CUEToolsDBTests.swift",
         {37, 60712, 98154, 119544, 139349}, 170557, 0x534054fd, 42,
         {0xfe1b0b1d, 0x1b8c2736, 0x30f99024, 0x40265ae9, 0xf52a6619}},
        // 102748 sectors: the last track's part ends 18 sectors early.
        {"MakotoPD/Toccata, crates/core/src/verify/ctdb.rs", {0, 13173, 24517, 50699, 64387, 79012, 88762},
         102748, 0x43f3794c, 10, {0x1a8ecbaf, 0x04970de2, 0x462f3658, 0x58eb981f, 0xdf2517e0, 0x62db1881, 0x24725bc0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        const DiscToc disc = tocOf(c.starts, c.leadOut);
        FakeHttpClient http;
        http.ctdb[disc.CtdbLookupToc()] = QStringLiteral("<ctdb xmlns=\"http://db.cuetools.net/ns/mmd-1.0#\"><entry "
                                                         "confidence=\"%1\" crc32=\"%2\" trackcrcs=\"%3\" /></ctdb>")
                                              .arg(c.confidence)
                                              .arg(hex(c.crc), hexList(c.tracks))
                                              .toUtf8();
        CtdbDatabase database(http);
        RipReport exact = ripped(disc, c.tracks);
        exact.VerifyDisc(database, disc);
        EXPECT_EQ(exact.VerdictLines(), QStringList{QStringLiteral("Disque : exact selon CTDB (confiance %1)")
                                                        .arg(c.confidence)});
        // The last track read otherwise: the others are still told exact.
        QList<uint32_t> lastDiffers = c.tracks;
        lastDiffers.last() ^= 1;
        RipReport different = ripped(disc, lastDiffers);
        different.VerifyDisc(database, disc);
        const QStringList lines = different.VerdictLines();
        ASSERT_EQ(lines.size(), c.tracks.size() + 1);
        EXPECT_EQ(lines.first(), QStringLiteral("Piste 01 : exacte selon CTDB (confiance %1)").arg(c.confidence));
        EXPECT_EQ(lines.at(lines.size() - 2),
                  RipReport::TrackLabel(static_cast<int>(c.tracks.size())) + " : différente de la base CTDB");
        EXPECT_EQ(lines.last(), "Disque : différent de la base CTDB");
        EXPECT_TRUE(different.DiffersFromKnownDisc());
    }
}

TEST_F(Ctdb, EachVerdictFromALocalDatabaseAndItsWeightAgainstAccurateRip)
{
    const QString ours = expected["crc32"].toString();
    const QStringList tracks = expected["trackcrcs"].toString().split(' ');
    const QString firstDiffers = QStringList{"0badc0de", tracks.at(1), tracks.at(2)}.join(' ');
    writeAnswer("exact", {{"0badc0de", 9, {}}, {ours, 4, tracks.join(' ')}});
    writeAnswer("track", {{"0badc0de", 9, firstDiffers}});
    writeAnswer("disc", {{"0badc0de", 9, {}}});
    ScriptServer server(QStringLiteral(CALVENOR_SOURCE_DIR "/tests/rip/accuraterip_server.py"), {dir.filePath("db")});
    CurlHttpClient http;
    const RipReport whole = rip({1, 2, 3});

    AccurateRipVerdict exact;
    exact.Result = AccurateRipVerdict::Exact;
    exact.Version = 2;
    exact.Confidence = 12;
    AccurateRipVerdict different;
    different.Result = AccurateRipVerdict::Different;
    const QString arExact = "Piste 01 : exacte (AccurateRip v2, confiance 12)";
    const QString arDifferent = "Piste 01 : différente de la base AccurateRip";
    const QStringList trackLines{"Piste 01 : différente de la base CTDB", "Piste 02 : exacte selon CTDB (confiance 9)",
                                 "Piste 03 : exacte selon CTDB (confiance 9)"};
    const struct {
        const char* folder;
        AccurateRipVerdict first; // AccurateRip's word on track 1; it knows no other
        QStringList lines;
        bool differs;
    } cases[] = {
        // Only a CTDB match outweighs AccurateRip's "different".
        {"exact", different, {arDifferent, "Disque : exact selon CTDB (confiance 4)"}, false},
        {"track", different, QStringList{arDifferent} + trackLines + QStringList{"Disque : différent de la base CTDB"},
         true},
        // Each database proves what the other calls different.
        {"track", exact, QStringList{arExact} + trackLines + QStringList{"Disque : différent de la base CTDB"}, false},
        // An entry without track CRCs: tracks 2 and 3 are proven by neither.
        {"disc", exact, {arExact, "Disque : différent de la base CTDB"}, true},
        {"missing", different, {arDifferent, "Disque : absent de la base CTDB"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        RipReport report;
        for (TrackRipResult t : whole.Tracks()) {
            if (t.TrackNum == 1)
                t.Verdict = c.first;
            report.Add(t);
        }
        CtdbDatabase database(http, QStringLiteral("http://127.0.0.1:%1/%2").arg(server.Port()).arg(c.folder));
        report.VerifyDisc(database, toc);
        EXPECT_TRUE(report.DiscVerificationNote().isEmpty()) << report.DiscVerificationNote().toStdString();
        EXPECT_EQ(report.VerdictLines(), c.lines);
        EXPECT_EQ(report.DiffersFromKnownDisc(), c.differs);
        const QString log = RipLog::Text({}, report);
        EXPECT_TRUE(log.contains(c.lines.last() + '\n')) << log.toStdString();
        const QString trackOne = report.Track(1)->Ctdb.TrackDetail();
        EXPECT_EQ(log.contains("  CTDB : " + trackOne + '\n'), !trackOne.isEmpty()) << log.toStdString();
    }
}

TEST_F(Ctdb, NothingIsSentWithoutNetworkWhenTurnedOffOrForPartOfTheDisc)
{
    const RipReport whole = rip({1, 2, 3});
    FakeHttpClient http;
    const struct {
        const char* name;
        IHttpClient* http;
        QString skip;
        QList<int> tracks;
        QString note;
    } cases[] = {
        {"no network", nullptr, {}, {1, 2, 3}, RipVerification::NoNetwork()},
        {"turned off", &http, RipVerification::TurnedOff(), {1, 2, 3}, RipVerification::TurnedOff()},
        {"part of the disc", &http, {}, {1, 3}, RipReport::NotWholeDisc()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RipReport report;
        for (int t : c.tracks)
            report.Add(whole.Tracks().at(t - 1));
        RipVerification verification;
        verification.Http = c.http;
        verification.SkipReason = RipVerification::TurnedOff();
        verification.CtdbSkipReason = c.skip;
        verification.Toc = toc;
        verification.Apply(report);
        EXPECT_TRUE(http.urls.isEmpty()) << http.urls.join(' ').toStdString();
        EXPECT_EQ(report.DiscVerificationNote(), c.note);
        EXPECT_EQ(report.DiscVerdict().Result, CtdbVerdict::NotChecked);
        EXPECT_TRUE(RipLog::Text({}, report).contains("CTDB : " + c.note + '\n'));
    }
}
