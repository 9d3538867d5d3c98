#include "disc/DiscToc.h"
#include "platform/TargetNameRule.h"
#include "encode/Mp3TrackEncoder.h"
#include "encode/TLameCoder.h"
#include "platform/CalvenorError.h"
#include "platform/CdioAudioDevice.h"
#include "platform/CdioRipLibrary.h"
#include "platform/LameEncoderLibrary.h"
#include "rip/BackgroundRipRun.h"
#include "encode/ParallelTrackEncoder.h"
#include "encode/RipOutput.h"
#include "rip/RipLog.h"
#include "rip/RipRun.h"
#include "rip/TCDRIP.h"
#include "encode/TrackPcmStream.h"
#include "rip/TrackRowList.h"
#include "support/DiscImage.h"
#include "support/FakeHttpClient.h"
#include "support/Mutagen.h"
#include "support/OggTool.h"
#include "support/SlowCdRipLibrary.h"
#include "support/TestFiles.h"
#include "tags/TMP3Info.h"
#include <QDir>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QProcess>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <atomic>
#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace {
constexpr int TrackSectors = 104; // four chunks of the reader

// Rows that vanish as the main window's rows do when the disc goes away.
class VanishingRows : public ITrackRows {
public:
    VanishingRows(const QList<AlbumTrack>& rows, const QString& folder) : m_rows(rows), m_folder(folder) {}
    int RowCount() const override { return gone ? 0 : m_rows.size(); }
    AlbumTrack Row(int k) const override { return m_rows.at(k - 1); }
    QString Folder() const override { return m_folder; }
    std::atomic<bool> gone{false};

private:
    QList<AlbumTrack> m_rows;
    QString m_folder;
};

using Format = FileFormat;

struct RunKind {
    Format format;
    int encoders;
    bool onWorker;
    bool replayGain = true;
};

// Three tracks of noise in an image, ripped by whole runs into a folder each.
class ParallelRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (uint32_t seed = 1; seed <= 3; ++seed)
            image.AddAudioTrack(DiscImage::NoisePcm(TrackSectors + int(seed), seed));
        cue = image.WriteTo(dir.path());
    }

    // Every file the run left in its folder, by name; the rip log without
    // its date and folder, so that its checksums can be compared.
    QMap<QString, QByteArray> filesOf(const QString& folder) const
    {
        QMap<QString, QByteArray> files;
        for (const QString& name : QDir(folder).entryList(QDir::Files)) {
            const QByteArray bytes = TestFiles::ReadAll(folder + '/' + name);
            files[name] = name.endsWith(RipLog::Ending)
                ? QString::fromUtf8(bytes).remove(QRegularExpression("Date : [^\n]*\n")).remove(folder + '/').toUtf8()
                : bytes;
        }
        return files;
    }

    // Runs over all tracks; during tells the test what to do while the run
    // goes on (on the test's thread, every few milliseconds).
    QString rip(const QString& name, const RunKind& setup, ICdRipLibrary* drive = nullptr,
                const std::function<void(RipRun&, VanishingRows&)>& during = {})
    {
        const QString folder = dir.filePath(name);
        QDir().mkpath(folder);
        CdioRipLibrary disc({cue});
        TCDRIP ripper(drive ? *drive : disc);
        LameEncoderLibrary lame;
        TLameCoder coder(lame);
        ripper.SetFileFormat(setup.format);
        ripper.SetCoder(&coder);
        QList<AlbumTrack> rows = ripper.AlbumTracks();
        for (AlbumTrack& row : rows) {
            row.ticked = true;
            row.setValue(AlbumTrack::Artist, "Artiste");
            row.setValue(AlbumTrack::Album, "Album");
            row.setValue(AlbumTrack::Title, "Titre " + row.Label());
            row.setValue(AlbumTrack::Target,
                         TargetNameRule::ComposeTargetPath(folder, row.Label(), "Album", "Artiste",
                                                           row.value(AlbumTrack::Title), ripper.Extension()));
        }
        VanishingRows list(rows, folder);
        TMP3Info tags;
        RipRun run(list, ripper, tags);
        run.SetVerification(verification);
        run.SetEncoders(setup.encoders);
        run.SetReplayGain(setup.replayGain);
        run.Begin();
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] { during(run, list); });
        if (during)
            watcher.start(5);
        if (setup.onWorker)
            BackgroundRipRun(run).Execute([&](const BackgroundRipRun::Progress& p) {
                longestTickGap = std::max(longestTickGap, sinceTick.isValid() ? sinceTick.restart() : 0);
                sinceTick.start();
                lastProgress = p;
            });
        else
            run.Execute();
        stopped = run.Stopped();
        discRemoved = run.WasDiscRemoved();
        return folder;
    }

    QTemporaryDir dir;
    DiscImage image;
    QString cue;
    RipVerification verification;
    QElapsedTimer sinceTick;
    qint64 longestTickGap = 0;
    BackgroundRipRun::Progress lastProgress;
    bool stopped = false;
    bool discRemoved = false;
};
} // namespace

TEST_F(ParallelRun, SameFilesAndPlaylistAsAOneThreadRun)
{
    const RunKind setups[] = {{Format::Wav, 0, true},  {Format::Mp3, 1, false}, {Format::Mp3, 3, false},
                              {Format::Mp3, 2, true},  {Format::Flac, 2, true}, {Format::Flac, 1, false},
                              {Format::Opus, 2, true},  {Format::Vorbis, 2, false}};
    for (const RunKind& s : setups) {
        const QString tag = QStringLiteral("%1-%2-%3").arg(int(s.format)).arg(s.encoders).arg(s.onWorker);
        const auto expected = filesOf(rip("one-" + tag, {s.format, 0, false}));
        const auto got = filesOf(rip("par-" + tag, s));
        EXPECT_EQ(expected.size(), 5) << tag.toStdString(); // three tracks, the playlist and the log
        EXPECT_EQ(got.keys(), expected.keys()) << tag.toStdString();
        for (const QString& name : expected.keys())
            EXPECT_TRUE(got.value(name) == expected.value(name)) << tag.toStdString() << " " << name.toStdString();
        if (s.onWorker) {
            EXPECT_EQ(lastProgress.workDone, 300) << "all the work of three rows, reading and encoding";
        }
    }
}

// The second track stalls for three seconds; stop comes during the stall.
TEST_F(ParallelRun, StopDuringAStallEndsTheRunAtOnce)
{
    // Without ReplayGain: a stopped run writes no album values, the whole one does.
    const auto whole = filesOf(rip("whole", {Format::Mp3, 0, false, false}));
    CdioRipLibrary disc({cue});
    SlowCdRipLibrary slow(disc);
    slow.stallChunk = 5;
    slow.stallMs = 3000;
    QElapsedTimer sinceStop;
    const QString folder = rip("stopped", {Format::Mp3, 2, true, false}, &slow, [&](RipRun& run, VanishingRows&) {
        if (slow.stalling && !sinceStop.isValid()) {
            sinceStop.start();
            run.Stop();
        }
    });
    ASSERT_TRUE(sinceStop.isValid());
    EXPECT_LT(sinceStop.elapsed(), 500);
    EXPECT_LT(longestTickGap, 200) << "the window's thread went on during the stall";
    EXPECT_TRUE(stopped);
    const auto files = filesOf(folder);
    const QString first = "01 - Album - Artiste - Titre Piste 01.mp3";
    const QString second = "02 - Album - Artiste - Titre Piste 02.mp3";
    EXPECT_TRUE(files.value(first) == whole.value(first)) << "the track read before the stall is whole";
    const QString aside = "02 - Album - Artiste - Titre Piste 02 (incomplet).mp3";
    EXPECT_FALSE(files.contains(second)) << "the part read never takes a track's name";
    ASSERT_TRUE(files.contains(aside));
    EXPECT_LT(files.value(aside).size(), whole.value(second).size());
    EXPECT_NE(files.value(aside).right(128).left(3), "TAG") << "the stopped track is kept untagged";
    EXPECT_FALSE(files.contains("03 - Album - Artiste - Titre Piste 03.mp3"));
    EXPECT_EQ(files.value("Artiste - Album - PlayList.M3u"), (first + "\r\n").toUtf8());
}

TEST_F(ParallelRun, DiscRemovedDuringAParallelRun)
{
    CdioRipLibrary disc({cue});
    SlowCdRipLibrary slow(disc);
    slow.stallChunk = 6;
    slow.stallMs = 3000;
    const QString folder = rip("removed", {Format::Mp3, 2, true}, &slow, [&](RipRun& run, VanishingRows& rows) {
        if (slow.stalling && !rows.gone) {
            rows.gone = true;
            run.DiscRemoved();
        }
    });
    EXPECT_TRUE(discRemoved);
    const auto files = filesOf(folder);
    EXPECT_EQ(files.size(), 4) << "tracks 1 and 2, the playlist and the log, named from the start";
    EXPECT_TRUE(files.value("Artiste - Album - PlayList.M3u").startsWith("01 - Album - Artiste - Titre Piste 01.mp3\r\n"));
}

// The encoder of track 1 cannot write its file: the run halts with the
// error, as a one-thread run does, and saves no playlist.
TEST_F(ParallelRun, WriteErrorOfAnEncoderHaltsTheRun)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 10000; // below one MP3 track
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    try {
        rip("full", {Format::Mp3, 2, true});
    } catch (const CalvenorError& e) {
        error = e.message();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_TRUE(error.startsWith("Erreur d'écriture")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("full/Artiste - Album - PlayList.M3u")));
}

// A reader faster than its encoder waits at the bound instead of queueing
// the whole track.
TEST_F(ParallelRun, QueuedPcmStaysWithinItsBound)
{
    constexpr int64_t Bound = 256 * 1024;
    constexpr int Chunk = 61152;
    LameEncoderLibrary lame;
    TLameCoder coder(lame);
    const QByteArray pcm = DiscImage::NoisePcm(1200, 9);
    ParallelTrackEncoder pool(1, Bound);
    TrackPcmStream& stream = pool.BeginTrack(std::make_unique<RipOutput>(dir.filePath("t.mp3")),
                                             [&](RipOutput& out) { return std::make_unique<Mp3TrackEncoder>(coder, out); });
    for (int at = 0; at < pcm.size(); at += Chunk)
        ASSERT_TRUE(stream.Push(reinterpret_cast<const uint8_t*>(pcm.constData()) + at, std::min<int>(Chunk, pcm.size() - at)));
    stream.Close();
    std::exception_ptr error;
    ASSERT_TRUE(pool.TakeFinished(true, error));
    EXPECT_FALSE(error);
    EXPECT_LE(pool.PeakQueuedBytes(), Bound);
    EXPECT_EQ(pool.EncodedBytes(), pcm.size());
}

TEST_F(ParallelRun, StopGivesUpTheDatabaseRequestAtTheEnd)
{
    FakeHttpClient database;
    database.silent = true;
    verification.Http = &database;
    CdioAudioDevice device;
    verification.Toc = DiscToc::Read(device, cue);
    QElapsedTimer sinceStop;
    const QString folder = rip("verified", {Format::Mp3, 2, true}, nullptr, [&](RipRun& run, VanishingRows&) {
        if (database.waiting && !sinceStop.isValid()) {
            sinceStop.start();
            run.Stop();
        }
    });
    ASSERT_TRUE(sinceStop.isValid());
    EXPECT_LT(sinceStop.elapsed(), 500);
    const auto files = filesOf(folder);
    EXPECT_EQ(files.size(), 5) << "every track, the playlist and the log";
    EXPECT_TRUE(files.value("Artiste - Album - Rapport.log").contains("La requête a été annulée."));
}

namespace {
// Runs one of the flac tools (Debian flac), independent of our encoder.
QByteArray flacTool(const QString& program, const QStringList& arguments, int* exitCode = nullptr)
{
    QProcess tool;
    tool.start(program, arguments);
    tool.waitForFinished(60000);
    if (exitCode)
        *exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    return tool.readAllStandardOutput();
}
} // namespace

// The reference decoder gives back the disc's PCM and finds the MD5 right;
// the Vorbis comment holds the row's tags.
TEST_F(ParallelRun, FlacFilesDecodeToTheDiscPcmWithTheirTags)
{
    const QString folder = rip("flac", {Format::Flac, 2, false});
    for (int n = 1; n <= 3; ++n) {
        const QString file = QStringLiteral("%1/0%2 - Album - Artiste - Titre Piste 0%2.flac").arg(folder).arg(n);
        int tested = -1;
        flacTool("flac", {"-t", "-s", file}, &tested);
        EXPECT_EQ(tested, 0) << n;
        const QByteArray pcm = flacTool("flac", {"-d", "-s", "-c", "--force-raw-format", "--endian=little",
                                                 "--sign=signed", file});
        EXPECT_TRUE(pcm == image.TrackAt(n).pcm) << n;
        const QString tags = QString::fromUtf8(flacTool("metaflac", {"--export-tags-to=-", file}));
        for (const QString& line : {QStringLiteral("TITLE=Titre Piste 0%1").arg(n), QStringLiteral("ARTIST=Artiste"),
                                    QStringLiteral("ALBUM=Album"), QStringLiteral("TRACKNUMBER=%1").arg(n),
                                    QStringLiteral("TRACKTOTAL=3")})
            EXPECT_TRUE(tags.split('\n').contains(line)) << line.toStdString() << " in " << tags.toStdString();
        EXPECT_FALSE(TestFiles::ReadAll(file).right(128).startsWith("TAG")) << "no ID3v1 trailer";
    }
}

// Opus and Ogg Vorbis files decode to exactly their track's samples, with
// the row's tags and the ReplayGain of their kind, and no ID3v1 trailer.
TEST_F(ParallelRun, OggFilesDecodeToTheirTracksLengthWithTheirTags)
{
    const char* script = R"(
import json, sys
from mutagen import File
t = File(sys.argv[1]).tags
print(json.dumps({k: t.get(k, [''])[0] for k in ('title', 'tracknumber', 'replaygain_track_gain', 'r128_track_gain')}))
)";
    for (const Format format : {Format::Opus, Format::Vorbis}) {
        const QString folder = rip(ExtensionOf(format), {format, 2, false});
        for (int n = 1; n <= 3; ++n) {
            const QString file = QStringLiteral("%1/0%2 - Album - Artiste - Titre Piste 0%2%3")
                                     .arg(folder)
                                     .arg(n)
                                     .arg(ExtensionOf(format));
            EXPECT_EQ(OggTool::DecodedFrames(file, 44100, 2), image.TrackAt(n).pcm.size() / 4) << n;
            const QJsonObject tags = Mutagen::Run(script, file);
            EXPECT_EQ(tags.value("title").toString(), QStringLiteral("Titre Piste 0%1").arg(n));
            EXPECT_EQ(tags.value("tracknumber").toString(), QString::number(n));
            const bool opus = format == Format::Opus;
            EXPECT_NE(tags.value(opus ? "r128_track_gain" : "replaygain_track_gain").toString(), "");
            EXPECT_EQ(tags.value(opus ? "replaygain_track_gain" : "r128_track_gain").toString(), "");
            EXPECT_FALSE(TestFiles::ReadAll(file).right(128).startsWith("TAG")) << "no ID3v1 trailer";
        }
    }
}
