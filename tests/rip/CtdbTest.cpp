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
#include "support/DiscImage.h"
#include "support/FakeHttpClient.h"
#include "support/ReferenceScript.h"
#include "support/ScriptServer.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Three audio tracks then a data track, as on an enhanced CD.
class Ctdb : public ::testing::Test {
protected:
    void SetUp() override
    {
        image.AddAudioTrack(DiscImage::NoisePcm(30, 17))
            .AddAudioTrack(DiscImage::NoisePcm(45, 18))
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
        ripper.SetWriteWAV(true);
        RipReport report;
        for (int t : order)
            report.Add(ripper.RipTrack(t, dir.filePath(QStringLiteral("%1.wav").arg(t))));
        return report;
    }

    // The database's answer: one entry per (crc32, confidence).
    void writeAnswer(const QString& folder, const QList<std::pair<QString, int>>& entries)
    {
        QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                         "<ctdb xmlns=\"http://db.cuetools.net/ns/mmd-1.0#\">\n";
        for (const auto& [crc, confidence] : entries)
            xml += QStringLiteral("  <entry confidence=\"%1\" crc32=\"%2\" id=\"7\" npar=\"8\" stride=\"5880\" "
                                  "toc=\"%3\" />\n")
                       .arg(confidence)
                       .arg(crc.toLower(), toc.CtdbLookupToc())
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
    return QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0')).toUpper();
}
} // namespace

TEST_F(Ctdb, DiscCrcAndLookupTableMatchAnIndependentReference)
{
    EXPECT_EQ(toc.CtdbLookupToc().toStdString(), expected["toc"].toString().toStdString());
    // Tracks ripped out of order still join in disc order.
    const std::optional<uint32_t> crc = CtdbCrc::Disc(toc, rip({3, 1, 2}).Tracks());
    ASSERT_TRUE(crc.has_value());
    EXPECT_EQ(hex(*crc).toStdString(), expected["crc32"].toString().toStdString());
    // Without every audio track there is no disc CRC.
    EXPECT_FALSE(CtdbCrc::Disc(toc, rip({1, 3}).Tracks()).has_value());
}

TEST_F(Ctdb, EachVerdictFromALocalDatabaseAndItsWeightAgainstAccurateRip)
{
    const QString ours = expected["crc32"].toString();
    writeAnswer("exact", {{"0badc0de", 9}, {ours, 4}});
    writeAnswer("different", {{"0badc0de", 9}});
    ScriptServer server(QStringLiteral(CALVENOR_SOURCE_DIR "/tests/rip/accuraterip_server.py"), {dir.filePath("db")});
    CurlHttpClient http;
    const RipReport ripped = rip({1, 2, 3});

    const struct {
        const char* folder;
        QString line;
        bool differs;
    } cases[] = {
        {"exact", "Disque : exact selon CTDB (confiance 4)", false},
        {"different", "Disque : différent de la base CTDB", true},
        {"missing", "Disque : absent de la base CTDB", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        RipReport report;
        for (TrackRipResult t : ripped.Tracks()) {
            // AccurateRip calls a track different: only a CTDB match outweighs it.
            if (t.TrackNum == 1)
                t.Verdict.Result = AccurateRipVerdict::Different;
            report.Add(t);
        }
        CtdbDatabase database(http, QStringLiteral("http://127.0.0.1:%1/%2").arg(server.Port()).arg(c.folder));
        report.VerifyDisc(database, toc);
        EXPECT_TRUE(report.DiscVerificationNote().isEmpty()) << report.DiscVerificationNote().toStdString();
        EXPECT_EQ(report.VerdictLines().last(), c.line);
        EXPECT_EQ(report.DiffersFromKnownDisc(), c.differs);
        EXPECT_TRUE(RipLog::Text({}, report).contains(c.line + '\n'));
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
