#include "support/DiscImage.h"
#include "support/FlacTool.h"
#include "support/InProcessRip.h"
#include "support/ReferenceScript.h"
#include "support/RipTool.h"
#include "support/ScriptServer.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// An enhanced CD that reads wrong in a burst of track 2, known to a local
// CUETools database whose entry holds the right disc's CRCs and parity (npar
// 8), both from the independent references of tests/rip: the rip is mended
// in the run or afterwards with --repair (the disc's table, data track
// included, read back from the log), or refused past what the parity mends.
namespace {
constexpr int Confidence = 3;
constexpr int BurstStart = 20000;       // samples into track 2
constexpr int ShortBurst = 13230;       // 0.3 s
constexpr int LongBurst = 45 * 588;     // past the 40 sectors npar 8 mends
const QString Disc = QStringLiteral("disc");

class CtdbRepairCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        good.AddAudioTrack(DiscImage::NoisePcm(150, 21)).AddAudioTrack(DiscImage::NoisePcm(250, 22)).AddDataTrack(30);
        QDir().mkpath(dir.filePath("good"));
        QDir().mkpath(dir.filePath("db/parity"));
        const QString goodCue = good.WriteTo(dir.filePath("good"), Disc);
        const QJsonObject crcs = ReferenceScript::Run("ctdb_reference.py", good, goodCue);
        const QJsonObject parity = ReferenceScript::Run("ctdb_parity_reference.py", good, goodCue,
                                                        {"--npar", "8", "--out", dir.filePath("db/parity/good.par")});
        ASSERT_TRUE(QFile::copy(dir.filePath("db/parity/good.par"), dir.filePath("db/parity/good-whole.par")));
        const QString table = crcs["toc"].toString();
        server = std::make_unique<ScriptServer>(QStringLiteral(CALVENOR_SOURCE_DIR "/tests/rip/accuraterip_server.py"),
                                                QStringList{dir.filePath("db")});
        const auto entry = [&](const QString& folder, const QString& parityAddress) {
            const QString xml = QStringLiteral("<ctdb xmlns=\"http://db.cuetools.net/ns/mmd-1.0#\"><entry "
                                               "confidence=\"%1\" crc32=\"%2\" hasparity=\"%3\" id=\"9\" npar=\"8\" "
                                               "stride=\"5880\" syndrome=\"%4\" toc=\"%5\" trackcrcs=\"%6\" /></ctdb>")
                                    .arg(Confidence)
                                    .arg(crcs["crc32"].toString().toLower(), parityAddress,
                                         parity["syndrome"].toString(), table, crcs["trackcrcs"].toString());
            const QString path = dir.filePath("db/" + folder + '/' + QString(table).replace(':', '_') + ".xml");
            QDir().mkpath(QFileInfo(path).path());
            ASSERT_TRUE(TestFiles::Write(path, xml.toUtf8()));
        };
        entry("ctdb", "/parity/good.par");
        entry("whole", QStringLiteral("http://127.0.0.1:%1/parity/good-whole.par").arg(server->Port()));
    }

    // The disc read with `count` samples of track 2 wrong from BurstStart on.
    QString damagedDisc(int count)
    {
        DiscImage damaged;
        QByteArray two = good.TrackAt(2).pcm;
        const QByteArray noise = DiscImage::NoisePcm(count * 4 / DiscImage::SectorBytes + 1, 99);
        for (int b = 0; b < 4 * count; ++b)
            two[4 * BurstStart + b] = char(two[4 * BurstStart + b] ^ (noise[b] | 1));
        damaged.AddAudioTrack(good.TrackAt(1).pcm).AddAudioTrack(two).AddDataTrack(30);
        const QString folder = dir.filePath(QStringLiteral("damaged%1").arg(count));
        QDir().mkpath(folder);
        damagedTwo = two;
        return damaged.WriteTo(folder, Disc);
    }

    using Result = InProcessRip;
    Result run(const QStringList& arguments, int failFrom = -1) { return InProcessRip::Run(arguments, failFrom); }
    Result rip(const QString& cue, const QString& folder, const QStringList& more = {}, int failFrom = -1)
    {
        return run(QStringList{"--drive", "x=" + cue, "x:", "--tracks", "1-2", "--dir", folder, "--no-accuraterip",
                               "--ctdb-server", database("ctdb")}
                       + more,
                   failFrom);
    }
    QString database(const QString& folder) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(server->Port()).arg(folder);
    }
    // The audio of the track files in the folder, in track order.
    static QList<QByteArray> audioIn(const QString& folder)
    {
        QList<QByteArray> audio;
        for (const QFileInfo& f : QDir(folder).entryInfoList({"0*.wav", "0*.flac"}, QDir::Files, QDir::Name)) {
            if (f.suffix() == "flac") {
                audio << FlacTool::Decode(f.filePath()).value_or(QByteArray());
                continue;
            }
            const QByteArray bytes = TestFiles::ReadAll(f.filePath());
            const qsizetype data = bytes.indexOf("data");
            const uint32_t size = *reinterpret_cast<const uint32_t*>(bytes.constData() + data + 4);
            audio << bytes.mid(data + 8, size);
        }
        return audio;
    }
    QList<QByteArray> goodAudio() const { return {good.TrackAt(1).pcm, good.TrackAt(2).pcm}; }

    QTemporaryDir dir;
    DiscImage good;
    QByteArray damagedTwo;
    std::unique_ptr<ScriptServer> server;
};

const QString Mended = QStringLiteral("Piste 02 : réparée selon CTDB (13230 échantillons corrigés), exacte (confiance 3)\n"
                                      "Disque : réparé selon CTDB (13230 échantillons corrigés), exact (confiance 3)\n");
} // namespace

// Four rows of parity mend two wrong words a column, the burst puts three
// in some: the rows are asked for four, then eight.
TEST_F(CtdbRepairCommand, ABurstOfAThirdOfASecondIsMendedInTheRunWavAndFlac)
{
    const QString cue = damagedDisc(ShortBurst);
    for (const QString& format : {QStringLiteral("--wav"), QStringLiteral("--flac")}) {
        SCOPED_TRACE(format.toStdString());
        const QString folder = dir.filePath("rip" + format);
        const Result r = rip(cue, folder, {format, "--artist", "Groupe"});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(Mended)) << r.out.toStdString();
        EXPECT_TRUE(audioIn(folder) == goodAudio());
        EXPECT_TRUE(server->WaitForLine("PARITY good.par bytes=0-94079", 5000));
        EXPECT_TRUE(server->WaitForLine("PARITY good.par bytes=0-188159", 5000));
        const QString log = QString::fromUtf8(TestFiles::ReadAll(folder + "/Rapport.log"));
        EXPECT_TRUE(log.contains(Mended.section('\n', 1, 1) + '\n')) << log.toStdString();
        EXPECT_TRUE(log.contains("  CTDB : réparée selon CTDB (13230 échantillons corrigés), exacte (confiance 3)\n"));
        const QStringList files = QDir(folder).entryList({"02*"}, QDir::Files);
        ASSERT_EQ(files.size(), 1) << files.join(' ').toStdString();
        EXPECT_TRUE(RipTool::Run({"--read-tag", folder + '/' + files.first()}).out.contains("artist=Groupe\n"));
    }
}

TEST_F(CtdbRepairCommand, ABurstPastWhatTheParityMendsChangesNothingAndSaysSo)
{
    const QString cue = damagedDisc(LongBurst);
    const QString folder = dir.filePath("rip");
    const Result r = rip(cue, folder);
    EXPECT_EQ(r.code, 4);
    EXPECT_TRUE(r.out.contains("Disque : différent de la base CTDB\nDisque : non réparé selon CTDB : ")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("npar 8 : 40 secteurs d'affilée au plus) ; aucun fichier n'a été modifié.\n"))
        << r.out.toStdString();
    EXPECT_TRUE(audioIn(folder) == (QList<QByteArray>{good.TrackAt(1).pcm, damagedTwo}));
}

TEST_F(CtdbRepairCommand, Mp3FilesAreNotMended)
{
    const Result r = rip(damagedDisc(ShortBurst), dir.filePath("mp3"), {"--mp3"});
    EXPECT_EQ(r.code, 4);
    EXPECT_TRUE(r.out.contains("Disque : différent de la base CTDB\nDisque : non réparé selon CTDB : seuls des fichiers "
                               "WAV ou FLAC gardent l'audio du disque tel quel.\n"))
        << r.out.toStdString();
}

// Sectors the drive could not give at all are mended too, and no longer
// make the exit code 3.
TEST_F(CtdbRepairCommand, SectorsTheDriveCouldNotReadAreMended)
{
    const QString folder = dir.filePath("unread");
    const Result r = rip(dir.filePath("good/disc.cue"), folder, {}, good.TrackAt(2).firstSector + 100);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Piste 02 : 3 secteurs illisibles (00:01.25 – 00:01.28), réparés selon "
                               "CTDB\nPiste 02 : réparée selon CTDB ("))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(" échantillons corrigés), exact (confiance 3)\n")) << r.out.toStdString();
    EXPECT_TRUE(audioIn(folder) == goodAudio());
    const QString log = QString::fromUtf8(TestFiles::ReadAll(folder + "/Rapport.log"));
    EXPECT_TRUE(log.contains("  Secteurs illisibles : 3 (00:01.25 – 00:01.28), réparés selon CTDB\n")) << log.toStdString();
}

// The rip kept as read, then mended from its folder: the server sends the
// whole parity file at once, or each part asked for.
TEST_F(CtdbRepairCommand, AnEarlierRipIsMendedFromItsFolderAndThenFoundExact)
{
    const QString cue = damagedDisc(ShortBurst);
    for (const QString& db : {QStringLiteral("whole"), QStringLiteral("ctdb")}) {
        SCOPED_TRACE(db.toStdString());
        const QString folder = dir.filePath("earlier-" + db);
        const Result kept = rip(cue, folder, {"--no-ctdb-repair"});
        EXPECT_EQ(kept.code, 4);
        EXPECT_TRUE(kept.out.contains("Disque : différent de la base CTDB\n")) << kept.out.toStdString();
        EXPECT_FALSE(audioIn(folder) == goodAudio());

        const QStringList repair{"--repair", folder, "--no-accuraterip", "--ctdb-server", database(db)};
        const Result mended = run(repair);
        EXPECT_EQ(mended.code, 0) << mended.err.toStdString();
        EXPECT_EQ(mended.out, Mended);
        EXPECT_TRUE(audioIn(folder) == goodAudio());
        EXPECT_TRUE(server->WaitForLine(db == "whole" ? "PARITY good-whole.par whole" : "PARITY good.par bytes=0-188159",
                                        5000));
        const QString log = QString::fromUtf8(TestFiles::ReadAll(folder + "/Rapport.log"));
        EXPECT_TRUE(log.contains("Disque : différent de la base CTDB\n")) << "the rip's own section stays";
        EXPECT_TRUE(log.contains(" : réparation selon CTDB\n") && log.endsWith(Mended)) << log.toStdString();

        const Result again = run(repair);
        EXPECT_EQ(again.code, 0);
        EXPECT_EQ(again.out, "Disque : exact selon CTDB (confiance 3)\n");
    }
}

TEST_F(CtdbRepairCommand, RepairRefusesAFolderWithoutACueSheet)
{
    const Result r = run({"--repair", dir.path(), "--no-accuraterip", "--ctdb-server", database("ctdb")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("n'a pas de feuille CUE écrite par Calvenor")) << r.err.toStdString();
}
