#include "disc/AccurateRipDiscId.h"
#include "disc/DiscToc.h"
#include "platform/CdioAudioDevice.h"
#include "platform/CdioRipLibrary.h"
#include "platform/CurlHttpClient.h"
#include "rip/RipLog.h"
#include "rip/RipReport.h"
#include "rip/RipVerification.h"
#include "rip/TCDRIP.h"
#include "support/AccurateRipFile.h"
#include "support/DiscImage.h"
#include "support/ReferenceScript.h"
#include "support/ScriptServer.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A disc whose databases know another pressing of it: the same audio that
// many samples later (earlier when negative), its sums from the independent
// references of tests/rip run on an image of that pressing.
namespace {
enum class Sums { None, V1, V2 };

class PressingSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        image.AddAudioTrack(DiscImage::NoisePcm(200, 31))
            .AddAudioTrack(DiscImage::NoisePcm(300, 32))
            .AddAudioTrack(DiscImage::NoisePcm(150, 33));
        cue = image.WriteTo(dir.path());
        toc = DiscToc::Read(device, cue);
        CdioRipLibrary lib({cue});
        TCDRIP ripper(lib);
        ripper.SetFileFormat(FileFormat::Wav);
        for (int t = 1; t <= 3; ++t)
            ripped.Add(ripper.RipTrack(t, dir.filePath(QStringLiteral("%1.wav").arg(t))));
    }

    // The databases of a pressing shifted that far, under db/<name>: AccurateRip's
    // responses of the sums asked for, and a CUETools entry when ctdb.
    void writePressing(const QString& name, int shift, Sums sums, int confidence, bool ctdb)
    {
        QByteArray audio;
        for (const DiscImage::Track& t : image.Tracks())
            audio += t.pcm;
        const QByteArray silence(4 * std::abs(shift), '\0');
        const QByteArray moved = shift > 0 ? audio.mid(4 * shift) + silence : silence + audio.left(audio.size() + 4 * shift);
        DiscImage pressing;
        qsizetype at = 0;
        for (const DiscImage::Track& t : image.Tracks()) {
            pressing.AddAudioTrack(moved.mid(at, t.pcm.size()));
            at += t.pcm.size();
        }
        QTemporaryDir folder;
        const QString pressingCue = pressing.WriteTo(folder.path());
        if (sums != Sums::None) {
            const QJsonArray tracks = ReferenceScript::Run("accuraterip_reference.py", pressing, pressingCue)["tracks"].toArray();
            AccurateRipFile::Response response;
            for (const QJsonValue& t : tracks)
                response << std::pair{confidence, t.toObject()[sums == Sums::V1 ? "v1" : "v2"].toString().toUInt(nullptr, 16)};
            ASSERT_TRUE(AccurateRipFile::Write(dir.filePath("db/" + name), AccurateRipDiscId(toc), {response}));
        }
        if (!ctdb)
            return;
        const QJsonObject crcs = ReferenceScript::Run("ctdb_reference.py", pressing, pressingCue);
        const QString path = dir.filePath("db/" + name + '/' + crcs["toc"].toString().replace(':', '_') + ".xml");
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_TRUE(TestFiles::Write(path, QStringLiteral("<ctdb><entry confidence=\"%1\" crc32=\"%2\" /></ctdb>")
                                               .arg(confidence)
                                               .arg(crcs["crc32"].toString())
                                               .toUtf8()));
    }

    RipReport verify(const QString& name, int port)
    {
        CurlHttpClient http;
        RipVerification verification;
        verification.Http = &http;
        verification.Toc = toc;
        verification.Server = QStringLiteral("http://127.0.0.1:%1/accuraterip/%2").arg(port).arg(name);
        verification.CtdbServer = QStringLiteral("http://127.0.0.1:%1/%2").arg(port).arg(name);
        RipReport report = ripped;
        verification.Apply(report);
        return report;
    }

    QTemporaryDir dir;
    DiscImage image;
    QString cue;
    CdioAudioDevice device;
    DiscToc toc;
    RipReport ripped;
};

QStringList eachTrack(const QString& detail)
{
    return {"Piste 01 : " + detail, "Piste 02 : " + detail, "Piste 03 : " + detail};
}

std::string lines(const QStringList& list)
{
    return list.join('\n').toStdString();
}
} // namespace

TEST_F(PressingSearch, MatchesAnotherPressingInEitherDatabaseAndSaysItsShift)
{
    const QString arAbsent = "absente de la base AccurateRip";
    const QString ctdbAbsent = "Disque : absent de la base CTDB";
    const struct {
        const char* name;
        int shift;
        Sums sums;
        bool ctdb;
        QStringList lines;
    } cases[] = {
        {"v1-later", 684, Sums::V1, false,
         eachTrack("exacte (AccurateRip v1, confiance 12, pressage décalé de +684 échantillons)") + QStringList{ctdbAbsent}},
        // The v2 sums do not slide: they are summed whole where the v1 sums leave them possible.
        {"v2-earlier", -1234, Sums::V2, false,
         eachTrack("exacte (AccurateRip v2, confiance 12, pressage décalé de -1234 échantillons)") + QStringList{ctdbAbsent}},
        {"ctdb", 684, Sums::None, true,
         eachTrack(arAbsent) + QStringList{"Disque : exact selon CTDB (confiance 12, pressage décalé de +684 échantillons)"}},
        {"ctdb-earliest", -5880, Sums::None, true,
         eachTrack(arAbsent) + QStringList{"Disque : exact selon CTDB (confiance 12, pressage décalé de -5880 échantillons)"}},
        // Past the ±5880 samples looked at.
        {"too-far", 5881, Sums::V1, true,
         eachTrack("différente de la base AccurateRip")
             + QStringList{"Disque : différent de la base CTDB",
                           "Disque : non réparé selon CTDB : la base n'a pas de données de réparation pour ce disque."}},
    };
    for (const auto& c : cases)
        writePressing(c.name, c.shift, c.sums, 12, c.ctdb);
    ScriptServer server(QStringLiteral(CALVENOR_SOURCE_DIR "/tests/rip/accuraterip_server.py"), {dir.filePath("db")});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RipReport report = verify(c.name, server.Port());
        const bool found = c.lines.join(' ').contains("pressage");
        const QString proves = "Pressage décalé : une correspondance avec un pressage décalé prouve la lecture du "
                               "disque ; seule une correspondance sans décalage prouve les fichiers tels qu'ils sont "
                               "écrits.";
        EXPECT_EQ(lines(report.VerdictLines()), lines(c.lines + (found ? QStringList{proves} : QStringList{})));
        EXPECT_EQ(report.DiffersFromKnownDisc(), !found);
        EXPECT_EQ(RipLog::Text({}, report).contains('\n' + proves + '\n'), found);
    }
}

// At shift 0 nothing else is looked for, and a pressing's match does not
// hide the rip's own.
TEST_F(PressingSearch, TheRipsOwnPressingComesFirst)
{
    writePressing("own", 0, Sums::V2, 9, true);
    ScriptServer server(QStringLiteral(CALVENOR_SOURCE_DIR "/tests/rip/accuraterip_server.py"), {dir.filePath("db")});
    EXPECT_EQ(lines(verify("own", server.Port()).VerdictLines()),
              lines(eachTrack("exacte (AccurateRip v2, confiance 9)") + QStringList{"Disque : exact selon CTDB (confiance 9)"}));
}
