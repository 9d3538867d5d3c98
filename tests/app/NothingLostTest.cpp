#include "support/DiscImage.h"
#include "support/FlacTool.h"
#include "support/RipTool.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {
// Whole-disc FLAC runs of calvenor-rip, with ReplayGain and an embedded
// cover, over a folder that holds a complete rip of another disc under the
// same names: whatever stops a run, every file under a track's name is the
// earlier one or a new whole, tagged one.
class FlacRunOverEarlierRip : public ::testing::Test {
protected:
    void SetUp() override
    {
        DiscImage discA, discB;
        for (uint32_t seed : {1u, 2u, 3u}) {
            discA.AddAudioTrack(DiscImage::NoisePcm(TrackSectors, seed));
            discB.AddAudioTrack(DiscImage::NoisePcm(TrackSectors, seed + 10));
        }
        cueA = discA.WriteTo(dir.path(), "a");
        cueB = discB.WriteTo(dir.path(), "b");
        QImage noise(400, 400, QImage::Format_RGB32);
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, QRandomGenerator::global()->generate());
        ASSERT_TRUE(noise.save(cover, "JPEG", 95)); // far more than a FLAC file's padding
        const RipTool earlier = RipTool::Run(arguments(cueA, out));
        ASSERT_EQ(earlier.exitCode, 0) << earlier.err.toStdString();
        before = filesOf(out);
        const RipTool ref = RipTool::Run(arguments(cueB, reference));
        ASSERT_EQ(ref.exitCode, 0) << ref.err.toStdString();
        for (int k = 1; k <= 3; ++k)
            pcmB << FlacTool::Decode(reference + '/' + track(k)).value_or(QByteArray());
    }

    QStringList arguments(const QString& cue, const QString& folder) const
    {
        return {"--drive", "x=" + cue, "x:", "--tracks", "1-3", "--dir", folder, "--flac", "--encoders", "2",
                "--artist", "Artiste", "--album", "Album", "--cover", cover, "--no-accuraterip", "--no-ctdb",
                "--overwrite"};
    }
    static QString track(int k) { return QStringLiteral("0%1 - Album - Artiste - Piste 0%1.flac").arg(k); }
    static QMap<QString, QByteArray> filesOf(const QString& folder)
    {
        QMap<QString, QByteArray> files;
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            files[name] = TestFiles::ReadAll(folder + '/' + name);
        return files;
    }
    // The earlier file, or disc b's track whole and tagged.
    void expectEarlierOrWhole(const QString& folder, int k) const
    {
        const QString path = folder + '/' + track(k);
        const QByteArray bytes = TestFiles::ReadAll(path);
        if (bytes == before.value(track(k)))
            return;
        EXPECT_EQ(FlacTool::Decode(path).value_or(QByteArray()), pcmB[k - 1]) << track(k).toStdString();
        EXPECT_TRUE(bytes.contains("ALBUM=Album")) << track(k).toStdString() << " untagged";
        EXPECT_TRUE(bytes.contains("REPLAYGAIN_TRACK_GAIN=")) << track(k).toStdString();
    }
    // Every line of the playlist and every FILE of the cue sheet names a whole file.
    void expectListsTrue(const QString& folder) const
    {
        const QMap<QString, QByteArray> files = filesOf(folder);
        for (auto it = files.begin(); it != files.end(); ++it) {
            EXPECT_FALSE(it.value().isEmpty()) << it.key().toStdString() << " is empty";
            if (!it.key().endsWith(".M3u") && !it.key().endsWith(".cue"))
                continue;
            for (int k = 1; k <= 3; ++k)
                if (QString::fromUtf8(it.value()).contains(track(k)))
                    expectEarlierOrWhole(folder, k);
        }
    }

    static constexpr int TrackSectors = 600;
    QTemporaryDir dir;
    QString cueA, cueB;
    QString cover = dir.filePath("cover.jpg");
    QString out = dir.filePath("sortie");
    QString reference = dir.filePath("reference");
    QMap<QString, QByteArray> before;
    QList<QByteArray> pcmB;
};
} // namespace

TEST_F(FlacRunOverEarlierRip, AStopOrAKillAtAnyStepLeavesEachTrackEarlierOrWhole)
{
    const struct {
        const char* step;
        int signal;
        int exitCode; // -1: killed
    } cases[] = {
        {"read:2", SIGKILL, -1},     {"named:1", SIGKILL, -1},    {"named:3", SIGKILL, -1},
        {"album-gain:2", SIGKILL, -1}, {"finish", SIGKILL, -1},    {"read:2", SIGTERM, 1},
        {"album-gain:2", SIGTERM, 0}, {"finish", SIGTERM, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.step) + " " + std::to_string(c.signal));
        const QString folder = dir.filePath(QStringLiteral("run-%1-%2").arg(c.step).arg(c.signal).remove(':'));
        QDir().mkpath(folder);
        for (auto it = before.begin(); it != before.end(); ++it)
            ASSERT_TRUE(TestFiles::Write(folder + '/' + it.key(), it.value()));
        const RipTool run = RipTool::RunSignalledAt(arguments(cueB, folder), c.step, c.signal);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        for (int k = 1; k <= 3; ++k)
            expectEarlierOrWhole(folder, k);
        expectListsTrue(folder);
        if (c.exitCode == 0) {
            // A stop once every track is read still writes the album's values.
            for (int k = 1; k <= 3; ++k)
                EXPECT_EQ(TestFiles::ReadAll(folder + '/' + track(k)), TestFiles::ReadAll(reference + '/' + track(k)));
        }
    }
}

// The destination fills up at several points of the run: the tracks, the
// tags with the cover, the copies for the album's values, the lists.
TEST_F(FlacRunOverEarlierRip, AFullDiskIsToldAndLeavesNoBrokenFile)
{
    qint64 needed = 0;
    for (const QFileInfo& f : QDir(reference).entryInfoList(QDir::Files))
        needed += f.size();
    const QString folder = dir.filePath("monte");
    QDir().mkpath(folder);
    for (const double share : {0.3, 0.7, 1.0, 1.25, 1.5, 2.2}) {
        const qint64 bytes = qint64(needed * share);
        SCOPED_TRACE(bytes);
        // Inside the namespace, once the tool has ended: every named file is
        // whole (flac -t) and not empty.
        const RipTool run = RipTool::RunOnTmpfs(
            folder, QStringLiteral("size=%1").arg(bytes), arguments(cueB, folder),
            "for f in *; do [ -e \"$f\" ] || continue; [ -s \"$f\" ] || echo \"EMPTY $f\"; case \"$f\" in *.flac) flac -t -s \"$f\" "
            "2>/dev/null || echo \"BROKEN $f\";; esac; done");
        if (run.exitCode == RipTool::NoMount)
            GTEST_SKIP() << "no mount namespace here";
        EXPECT_FALSE(run.err.contains("EMPTY ") || run.err.contains("BROKEN ")) << run.err.toStdString();
        if (run.exitCode == 0)
            continue; // room enough
        EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("Le disque est plein") && run.err.contains('"' + folder + '/'))
            << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("Unknown error")) << run.err.toStdString();
    }
}
