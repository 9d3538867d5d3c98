#include "disc/AccurateRipDiscId.h"
#include "disc/DiscToc.h"
#include "platform/CdioAudioDevice.h"
#include "platform/Settings.h"
#include "support/AccurateRipFile.h"
#include "support/DiscImage.h"
#include "support/InProcessRip.h"
#include "support/ReferenceScript.h"
#include "support/ScriptServer.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// calvenor-rip in this process, over a drive that fails chosen sectors.
class RipExitCode : public ::testing::Test {
protected:
    void SetUp() override
    {
        // 123 sectors: the CUETools database's CRC leaves out 13 at the end.
        image.AddAudioTrack(DiscImage::NoisePcm(30, 3)).AddAudioTrack(DiscImage::NoisePcm(93, 4));
        cue = image.WriteTo(dir.path());
    }

    using Result = InProcessRip;
    Result run(const QStringList& arguments, int failFrom = -1)
    {
        return InProcessRip::Run(QStringList{"--drive", "x=" + cue, "x:"} + arguments, failFrom);
    }
    // A known disc whose checksums are all different from ours, in db/different.
    void writeDifferentDatabase()
    {
        const Result id = run({"--accuraterip-id"});
        ASSERT_EQ(id.code, 0);
        const QString path = id.out.trimmed();
        const QString name = path.section('/', -1);
        EXPECT_EQ(path, QStringLiteral("%1/%2/%3/").arg(name[16]).arg(name[15]).arg(name[14]) + name);
        QByteArray file(1, 2);
        for (const QString& hex : name.mid(9, 26).split('-')) {
            const uint32_t v = hex.toUInt(nullptr, 16);
            file.append(reinterpret_cast<const char*>(&v), 4);
        }
        file += QByteArray(9, '\x01') + QByteArray(9, '\x01');
        QDir().mkpath(QFileInfo(dir.filePath("db/different/" + path)).path());
        ASSERT_TRUE(TestFiles::Write(dir.filePath("db/different/" + path), file));
    }
    QString server(const QString& folder) const
    {
        return QStringLiteral("http://127.0.0.1:%1/accuraterip/%2").arg(database->Port()).arg(folder);
    }

    QTemporaryDir dir;
    DiscImage image;
    QString cue;
    std::unique_ptr<ScriptServer> database;
};

const QString Damage = "Piste 02 : 3 secteurs illisibles (00:00.40 – 00:00.43)\n";
} // namespace

TEST_F(RipExitCode, LostSectorsExitWith3AndAreTheSameLinesForOneTrackAndSeveral)
{
    const int failFrom = image.TrackAt(2).firstSector + 40;
    const Result one = run({"--track", "2", "--out", dir.filePath("two.wav"), "--no-accuraterip"}, failFrom);
    EXPECT_EQ(one.code, 3);
    EXPECT_EQ(one.out, Damage);
    const QString beside = QString::fromUtf8(TestFiles::ReadAll(dir.filePath("two - Rapport.log")));
    EXPECT_TRUE(beside.contains("AccurateRip : non consultée : vérification désactivée\n")) << beside.toStdString();
    EXPECT_TRUE(beside.contains("\nLecteur : image " + QFileInfo(cue).fileName() + "\n")) << beside.toStdString();

    const Result several = run({"--tracks", "1-2", "--dir", dir.filePath("d"), "--no-accuraterip"}, failFrom);
    EXPECT_EQ(several.code, 3);
    // The verdicts first: the files end the output.
    EXPECT_TRUE(several.out.startsWith(Damage + dir.filePath("d/PlayList.cue\n"))) << several.out.toStdString();
    EXPECT_TRUE(several.out.endsWith("02 - Piste 02.wav\n")) << several.out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("d/Rapport.log")));
}

TEST_F(RipExitCode, VerdictsFromTheDatabaseAndExitCodes)
{
    writeDifferentDatabase();
    database = std::make_unique<ScriptServer>(QStringLiteral(CALVENOR_SOURCE_DIR "/tests/rip/accuraterip_server.py"),
                                              QStringList{dir.filePath("db")});

    const struct {
        QString folder;
        int failFrom;
        int code;
        QString out;
    } cases[] = {
        {"different", -1, 4,
         "Piste 02 : différente de la base AccurateRip\n"},
        {"different", image.TrackAt(2).firstSector + 40, 3, Damage + "Piste 02 : différente de la base AccurateRip\n"},
        {"missing", -1, 0, "Piste 02 : absente de la base AccurateRip\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        const Result r = run({"--track", "2", "--out", dir.filePath("v.wav"), "--overwrite", "--accuraterip-server",
                              server(c.folder)},
                             c.failFrom);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.out.toStdString(), c.out.toStdString());
    }
}

TEST_F(RipExitCode, ACtdbMatchOfTheWholeDiscOutweighsAccurateRipAndADifferenceCounts)
{
    writeDifferentDatabase();
    const QJsonObject ctdb = ReferenceScript::Run("ctdb_reference.py", image, cue);
    const QString name = ctdb["toc"].toString().replace(':', '_') + ".xml";
    const auto answer = [&](const char* folder, const QByteArray& entry) {
        QDir().mkpath(dir.filePath(QStringLiteral("db/") + folder));
        ASSERT_TRUE(TestFiles::Write(dir.filePath(QStringLiteral("db/") + folder + '/' + name),
                                     "<ctdb><entry " + entry + " /></ctdb>"));
    };
    answer("ctdb", "crc32=\"" + ctdb["crc32"].toString().toUtf8() + "\" confidence=\"2\"");
    // Track 1 read otherwise than the database's.
    answer("other", "crc32=\"0badc0de\" confidence=\"3\" trackcrcs=\"0badc0de "
                        + ctdb["trackcrcs"].toString().section(' ', 1).toUtf8() + "\"");
    database = std::make_unique<ScriptServer>(QStringLiteral(CALVENOR_SOURCE_DIR "/tests/rip/accuraterip_server.py"),
                                              QStringList{dir.filePath("db")});
    const auto ctdbServer = [this](const char* folder) {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(database->Port()).arg(folder);
    };
    const QString different = "Piste 01 : différente de la base AccurateRip\n"
                              "Piste 02 : différente de la base AccurateRip\n";
    const QString absent = "Piste 01 : absente de la base AccurateRip\n"
                           "Piste 02 : absente de la base AccurateRip\n";
    const struct {
        QString name;
        QString accurateRip;
        QStringList options;
        int code;
        QString lines;
        QString logLine;
    } cases[] = {
        {"exact", "different", {"--ctdb-server", ctdbServer("ctdb")}, 0,
         different + "Disque : exact selon CTDB (confiance 2)\n", "Disque : exact selon CTDB (confiance 2)\n"},
        {"absent", "different", {"--ctdb-server", ctdbServer("none")}, 4,
         different + "Disque : absent de la base CTDB\n", "Disque : absent de la base CTDB\n"},
        {"off", "different", {"--ctdb-server", ctdbServer("ctdb"), "--no-ctdb"}, 4, different,
         "CTDB : non consultée : vérification désactivée\n"},
        // Unknown to AccurateRip, a track the CUETools database holds otherwise.
        {"other", "missing", {"--ctdb-server", ctdbServer("other")}, 4,
         absent + "Piste 01 : différente de la base CTDB\nPiste 02 : exacte selon CTDB (confiance 3)\n"
                  "Disque : différent de la base CTDB\n"
                  "Disque : non réparé selon CTDB : la base n'a pas de données de réparation pour ce disque.\n",
         "  CTDB : différente de la base CTDB\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const Result r = run(QStringList{"--tracks", "1-2", "--dir", dir.filePath(c.name), "--accuraterip-server",
                                         server(c.accurateRip)}
                             + c.options);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.out.startsWith(c.lines + dir.filePath(c.name + "/PlayList.cue\n"))) << r.out.toStdString();
        const QString log = QString::fromUtf8(TestFiles::ReadAll(dir.filePath(c.name + "/Rapport.log")));
        EXPECT_TRUE(log.contains(c.logLine)) << log.toStdString();
    }
}

// The database knows the disc as a drive reading 40 samples further gets it:
// the sums come from the reference run on an image of that audio.
TEST_F(RipExitCode, FindOffsetSavesTheOffsetTheDatabaseConfirmsAndNothingElse)
{
    constexpr int shift = 40;
    QByteArray audio;
    for (const DiscImage::Track& t : image.Tracks())
        audio += t.pcm;
    const QByteArray later = audio.mid(4 * shift) + QByteArray(4 * shift, '\0');
    const qsizetype firstBytes = image.TrackAt(1).pcm.size();
    DiscImage shifted;
    shifted.AddAudioTrack(later.left(firstBytes)).AddAudioTrack(later.mid(firstBytes));
    QTemporaryDir shiftedDir;
    const QString shiftedCue = shifted.WriteTo(shiftedDir.path());
    const QJsonArray sums = ReferenceScript::Run("accuraterip_reference.py", shifted, shiftedCue)["tracks"].toArray();
    const auto v1 = [&](int track) { return sums.at(track).toObject()["v1"].toString().toUInt(nullptr, 16); };
    CdioAudioDevice device;
    const AccurateRipDiscId disc(DiscToc::Read(device, cue));
    ASSERT_TRUE(AccurateRipFile::Write(dir.filePath("db/found"), disc, {{{12, v1(0)}, {12, v1(1)}}}));
    ASSERT_TRUE(AccurateRipFile::Write(dir.filePath("db/none"), disc, {{{12, v1(0) + 1}, {12, 1}}}));
    database = std::make_unique<ScriptServer>(QStringLiteral(CALVENOR_SOURCE_DIR "/tests/rip/accuraterip_server.py"),
                                              QStringList{dir.filePath("db")});
    Settings().SetReadOffset(-5);
    const QString drive = "Lecteur : image " + QFileInfo(cue).fileName() + "\n";
    const Result none = run({"--find-offset", "--accuraterip-server", server("none")});
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.out, drive + "Aucun décalage de ±3000 échantillons ne correspond à la base AccurateRip ; rien n'est "
                                "changé.\n");
    const Result found = run({"--find-offset", "--accuraterip-server", server("found")});
    EXPECT_EQ(found.code, 0);
    EXPECT_EQ(found.out, drive + "Décalage de lecture : +40 échantillons (AccurateRip, confiance 12)\n");
    EXPECT_EQ(Settings().ReadOffset(), -5) << "an image's offset is its own";
    // The next rip of that image reads with it.
    ASSERT_EQ(run({"--track", "1", "--out", dir.filePath("one.wav"), "--no-accuraterip"}).code, 0);
    const QString log = QString::fromUtf8(TestFiles::ReadAll(dir.filePath("one - Rapport.log")));
    EXPECT_TRUE(log.contains("Décalage de lecture : 40 échantillons\n")) << log.toStdString();
}
