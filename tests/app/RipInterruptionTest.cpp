#include "app/cli/RipCommandLine.h"
#include "platform/FileWriteLock.h"
#include "rip/TCDRIP.h"
#include "support/DiscImage.h"
#include "support/RipTool.h"
#include "support/ScriptServer.h"
#include "support/TestFiles.h"
#include <QElapsedTimer>
#include <QProcess>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

namespace {
// The error stream of calvenor-rip, run in this process: acts once when it
// has printed a given number of progress steps, in the middle of a rip.
class ProgressTrigger : public QIODevice {
public:
    ProgressTrigger(int steps, std::function<void()> action) : m_steps(steps), m_action(action)
    {
        open(QIODevice::WriteOnly);
    }
    QString text;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        text += QString::fromUtf8(data, int(size));
        if (m_action && text.count(QStringLiteral("Piste 1/1")) >= m_steps)
            std::exchange(m_action, nullptr)();
        return size;
    }

private:
    int m_steps;
    std::function<void()> m_action;
};

// A rip of one long track by calvenor-rip's own code, stopped from outside halfway.
class RipInterruption : public ::testing::Test {
protected:
    void SetUp() override
    {
        cue = DiscImage().AddAudioTrack(DiscImage::NoisePcm(750, 7)).WriteTo(dir.path());
        QDir(dir.path()).mkpath("sortie");
    }
    int ripHalfwayThen(std::function<void()> action)
    {
        ProgressTrigger errors(3, action);
        QString out;
        QTextStream outStream(&out), errStream(&errors);
        const int code = RipCommandLine(outStream, errStream)
                             .Run({"--drive", "x=" + cue, "x:", "--track", "1", "--out", wav, "--wav"});
        errStream.flush();
        message = errors.text;
        return code;
    }

    QTemporaryDir dir;
    QString cue;
    QString wav = dir.filePath("sortie/piste.wav");
    QString message;
};
} // namespace

TEST_F(RipInterruption, ASignalEndsTheWavFileWithAHeaderThatTellsWhatItHolds)
{
    EXPECT_EQ(ripHalfwayThen([] { std::raise(SIGTERM); }), 1);
    EXPECT_TRUE(message.contains(QString("Extraction interrompue par le signal %1.\nPiste 01 interrompue à 00:0").arg(SIGTERM)))
        << message.toStdString();
    EXPECT_FALSE(QFile::exists(wav)) << "the part read never takes the track's name";
    QFile file(TCDRIP::IncompletePath(wav));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 44);
    EXPECT_LT(bytes.size(), 44 + 750 * DiscImage::SectorBytes);
    EXPECT_EQ(qFromLittleEndian<uint32_t>(bytes.constData() + 40), uint32_t(bytes.size() - 44));
    EXPECT_EQ(qFromLittleEndian<uint32_t>(bytes.constData() + 4), uint32_t(bytes.size() - 8));
}

TEST_F(RipInterruption, ADestinationRemovedDuringTheRipIsNotBlamedOnTheDisc)
{
    EXPECT_EQ(ripHalfwayThen([this] { QDir(dir.filePath("sortie")).removeRecursively(); }), 1);
    EXPECT_TRUE(message.contains(QString("Impossible de créer le fichier \"%1\". Son dossier n'existe pas ou plus "
                                         "(a-t-il été supprimé ?).")
                                     .arg(wav)))
        << message.toStdString();
    EXPECT_FALSE(message.contains("Le disque n'a pas pu être lu"));
}

// The tool itself, sent SIGTERM while the database holds its request: the
// request ends at once, the whole file is only left unproven, and the run
// says what it gave up.
TEST_F(RipInterruption, ASignalDuringTheDatabaseRequestEndsItAtOnceAndBlamesNoFile)
{
    ScriptServer database(QStringLiteral(CALVENOR_SOURCE_DIR "/tests/rip/accuraterip_server.py"),
                          {dir.path(), "--hold"});
    QElapsedTimer sinceSignal;
    const RipTool run = RipTool::Run({"--drive", "x=" + cue, "x:", "--tracks", "1", "--wav", "--dir",
                                      dir.filePath("sortie"), "--accuraterip-server",
                                      QStringLiteral("http://127.0.0.1:%1/accuraterip").arg(database.Port())},
                                     [&](QProcess& tool) {
                                         if (!database.WaitForLine("HELD", 60000))
                                             return;
                                         sinceSignal.start();
                                         tool.terminate();
                                     });
    ASSERT_TRUE(sinceSignal.isValid()) << run.err.toStdString();
    EXPECT_LT(sinceSignal.elapsed(), 3000);
    EXPECT_EQ(run.exitCode, 1) << "the proof given up is told";
    EXPECT_TRUE(run.err.contains("vérification auprès des bases AccurateRip et CTDB a été abandonnée"))
        << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("Piste 01 : non vérifiée\n")) << run.out.toStdString();
    EXPECT_FALSE(run.err.contains("ne contient que le début")) << run.err.toStdString();
    const QString log = QString::fromUtf8(TestFiles::ReadAll(dir.filePath("sortie/Rapport.log")));
    EXPECT_TRUE(log.contains("  AccurateRip : non vérifiée\n")) << log.toStdString();
}

namespace {
// Runs of the built calvenor-rip over a folder that an earlier run of
// another disc filled: disc a ripped into "sortie", disc b ripped whole into
// "reference" for comparison. Same artist and album, so the same names.
class RunOverEarlierRip : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (uint32_t seed : {1u, 2u, 3u}) {
            discA.AddAudioTrack(DiscImage::NoisePcm(TrackSectors, seed));
            discB.AddAudioTrack(DiscImage::NoisePcm(TrackSectors, seed + 10));
        }
        cueA = discA.WriteTo(dir.path(), "a");
        cueB = discB.WriteTo(dir.path(), "b");
        const RipTool earlier = RipTool::Run(arguments(cueA, "1-3", out));
        ASSERT_EQ(earlier.exitCode, 0) << earlier.err.toStdString();
        // The cue sheet and the playlist, then the three tracks.
        const QStringList listed = earlier.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(listed.size(), 5);
        targets = listed.mid(2) + listed.mid(0, 2);
        before = filesOf(out);
        ASSERT_EQ(RipTool::Run(arguments(cueB, "1-3", reference)).exitCode, 0);
        whole = filesOf(reference);
    }

    // encoders "0" reads no faster than it encodes: a signal sent as a track
    // begins finds that track still being read. Runs over the earlier files
    // replace them. Without ReplayGain: a whole run's files and log hold the
    // album's values, which a stopped or partial run leaves out.
    QStringList arguments(const QString& cue, const QString& tracks, const QString& folder,
                          const QString& encoders = "2") const
    {
        return {"--drive", "x=" + cue, "x:", "--tracks", tracks, "--dir", folder, "--mp3", "--encoders", encoders,
                "--artist", "Artiste", "--album", "Album", "--no-accuraterip", "--overwrite", "--no-replaygain"};
    }
    // The visible files of a folder by name: hidden ones are the runs' own business.
    static QMap<QString, QByteArray> filesOf(const QString& folder)
    {
        QMap<QString, QByteArray> files;
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            files[name] = TestFiles::ReadAll(folder + '/' + name);
        return files;
    }
    static QString nameOf(const QString& path) { return QFileInfo(path).fileName(); }
    QString log() const { return QString::fromUtf8(before.value("Artiste - Album - Rapport.log")); }

    static constexpr int TrackSectors = 1500; // 20 s each: a run takes long enough to be cut
    QTemporaryDir dir;
    DiscImage discA, discB;
    QString cueA, cueB;
    QString out = dir.filePath("sortie");
    QString reference = dir.filePath("reference");
    QStringList targets; // the earlier run's files, then its cue sheet and playlist
    QMap<QString, QByteArray> before, whole;
};
} // namespace

TEST_F(RunOverEarlierRip, AKilledRunLeavesEveryFileEitherAsItWasOrWhole)
{
    const RipTool killed = RipTool::RunAndSignal(arguments(cueB, "1-3", out), "Piste 2/3", SIGKILL);
    EXPECT_EQ(killed.exitCode, -1);
    const auto after = filesOf(out);
    EXPECT_EQ(after.keys(), before.keys()) << "no new visible file";
    for (const QString name : {"Artiste - Album - PlayList.M3u", "Artiste - Album - Rapport.log"})
        EXPECT_TRUE(after.value(name) == before.value(name)) << name.toStdString();
    for (int k = 0; k < 3; ++k) {
        const QString name = nameOf(targets[k]);
        EXPECT_TRUE(after.value(name) == before.value(name) || after.value(name) == whole.value(name))
            << name.toStdString() << " is partial";
    }
}

TEST_F(RunOverEarlierRip, ATerminatedRunKeepsThePartialTrackAsideAndTheEarlierFileAsItWas)
{
    const RipTool stopped = RipTool::RunAndSignal(arguments(cueB, "1-3", out, "0"), "Piste 2/3", SIGTERM);
    EXPECT_EQ(stopped.exitCode, 1);
    const QRegularExpressionMatch said =
        QRegularExpression("Piste 0(\\d) interrompue à \\d\\d:\\d\\d ; la partie lue est conservée dans « (.+) »\\.")
            .match(stopped.err);
    ASSERT_TRUE(said.hasMatch()) << stopped.err.toStdString();
    const QString cut = nameOf(targets[said.captured(1).toInt() - 1]);
    const QString aside = said.captured(2);
    EXPECT_EQ(aside, QFileInfo(cut).completeBaseName() + " (incomplet).mp3");
    const auto after = filesOf(out);
    EXPECT_TRUE(after.value(cut) == before.value(cut)) << "the earlier whole file stays";
    const QByteArray partial = after.value(aside);
    EXPECT_FALSE(partial.isEmpty());
    EXPECT_FALSE(partial == whole.value(cut));
    EXPECT_FALSE(partial.startsWith("ID3") || partial.right(128).startsWith("TAG")) << "not tagged";

    const QStringList listed = stopped.out.split('\n', Qt::SkipEmptyParts).filter(".mp3");
    ASSERT_FALSE(listed.isEmpty());
    for (const QString& path : listed)
        EXPECT_TRUE(TestFiles::ReadAll(path) == whole.value(nameOf(path))) << path.toStdString() << " listed but not whole";
    EXPECT_FALSE(stopped.out.contains(aside));
    EXPECT_TRUE(stopped.err.contains("Extraction interrompue par le signal " + QString::number(SIGTERM) + '.'));

    const QString playlist = QString::fromUtf8(after.value("Artiste - Album - PlayList.M3u"));
    EXPECT_TRUE(playlist.contains(cut)) << "its line still names a whole file";
    EXPECT_FALSE(playlist.contains(aside));
    const QString newLog = QString::fromUtf8(after.value("Artiste - Album - Rapport.log"));
    EXPECT_EQ(newLog.count(out + '/' + cut + '\n'), 1) << "the earlier block, still true";
    EXPECT_TRUE(newLog.contains(QRegularExpression(QRegularExpression::escape(aside)
                                                   + "\\n.*\\n  Lue en entier : non, interrompue à \\d\\d:\\d\\d")))
        << newLog.toStdString();
}

TEST_F(RunOverEarlierRip, ASecondRunIntoTheFolderKeepsTheFirstRunsTracksInTheLog)
{
    const RipTool second = RipTool::Run(arguments(cueB, "2", out));
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    const QString merged = QString::fromUtf8(TestFiles::ReadAll(out + "/Artiste - Album - Rapport.log"));
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(merged.count("Fichier : " + targets[k] + '\n'), 1) << merged.toStdString();
    EXPECT_EQ(merged.count(" : rapport de rippage"), 2);
    EXPECT_TRUE(merged.contains("Résumé : 2 piste(s) rippée(s)")) << "the first run's summary counts what it still tells";
    EXPECT_TRUE(merged.endsWith("Résumé : 1 piste(s) rippée(s), 0 avec des secteurs illisibles.\n")) << merged.toStdString();
    EXPECT_TRUE(merged.startsWith(log().section("\n\nPiste 02", 0, 0))) << "the first run's header stays";
}

TEST_F(RunOverEarlierRip, ASecondWriterOfTheSameFileIsRefused)
{
    const FileWriteLock first(targets[0]);
    const RipTool second =
        RipTool::Run({"--drive", "x=" + cueB, "x:", "--track", "1", "--out", targets[0], "--mp3", "--overwrite"});
    EXPECT_NE(second.exitCode, 0);
    EXPECT_TRUE(second.err.contains(QString("Le fichier \"%1\" est déjà en cours d'écriture par un autre rippage")
                                        .arg(targets[0])))
        << second.err.toStdString();
    EXPECT_TRUE(TestFiles::ReadAll(targets[0]) == before.value(nameOf(targets[0])));
}

TEST_F(RunOverEarlierRip, ExistingFilesAreKeptUnlessOverwriteIsGiven)
{
    QStringList several = arguments(cueB, "2-3", out);
    several.removeAll("--overwrite");
    const struct {
        QStringList arguments;
        QString said;
    } cases[] = {
        {several, "Ces fichiers existent déjà ; ajoutez --overwrite pour les remplacer :\n  " + targets[1] + "\n  "
                      + targets[2] + '\n'},
        {{"--drive", "x=" + cueB, "x:", "--track", "1", "--out", targets[0], "--mp3"},
         "Le fichier « " + targets[0] + " » existe déjà ; ajoutez --overwrite pour le remplacer.\n"},
    };
    for (const auto& c : cases) {
        const RipTool refused = RipTool::Run(c.arguments);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.err, c.said);
        EXPECT_TRUE(filesOf(out) == before) << "nothing read, nothing written";
    }
}

// A file system of its own for the tool: full, or read-only.
TEST_F(RunOverEarlierRip, AFullOrReadOnlyDestinationIsNamedInFrench)
{
    const struct {
        QString options;
        QString said;
    } cases[] = {
        {"size=64k", "Le disque est plein : le fichier \"%1\" n'a pas pu être écrit en entier."},
        {"ro", "Impossible de créer le fichier \"%1\". Le système de fichiers est en lecture seule."},
    };
    const QString folder = dir.filePath("monte");
    QDir().mkpath(folder);
    const QString wav = folder + "/piste.wav";
    for (const auto& c : cases) {
        const RipTool run =
            RipTool::RunOnTmpfs(folder, c.options, {"--drive", "x=" + cueA, "x:", "--track", "1", "--out", wav, "--wav"});
        if (run.exitCode == RipTool::NoMount)
            GTEST_SKIP() << "no mount namespace here";
        EXPECT_EQ(run.exitCode, 1) << c.options.toStdString();
        EXPECT_TRUE(run.err.contains(c.said.arg(wav))) << run.err.toStdString();
    }
}
