#include "app/cli/RipCommandLine.h"
#include "rip/TCDRIP.h"
#include "support/DiscImage.h"
#include "support/FailingDrive.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace {
using Kind = DriveFaults::Kind;
using Sectors = std::set<int32_t>;
constexpr int SectorBytes = DiscImage::SectorBytes;

// A drive whose reads of the faulty sectors each take a while and fail.
class SlowFaults : public DriveFaults {
public:
    long ReadAudio(void* buffer, int32_t first, long count, const Read& drive) override
    {
        const long read = DriveFaults::ReadAudio(buffer, first, count, drive);
        if (read < count)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return read;
    }
};

// calvenor-rip in this process, over a three-track disc (sectors 0–1499,
// 1500–2999, 3000–3749) read through the real libcdio-paranoia with faults
// below it.
class DamagedDisc : public ::testing::Test {
protected:
    void SetUp() override
    {
        image.AddAudioTrack(DiscImage::NoisePcm(1500, 1))
            .AddAudioTrack(DiscImage::NoisePcm(1500, 2))
            .AddAudioTrack(DiscImage::NoisePcm(750, 3));
        cue = image.WriteTo(dir.path());
    }

    int run(const QStringList& arguments, std::shared_ptr<DriveFaults> faults)
    {
        QString err;
        out.clear();
        QTextStream outStream(&out), errStream(&err);
        RipCommandLine cli(outStream, errStream, [faults](const QStringList& sources) {
            auto drive = std::make_unique<CdioRipLibrary>(sources);
            drive->SetReadFilter(faults);
            return drive;
        });
        const int code = cli.Run(QStringList{"--drive", "x=" + cue, "x:", "--no-accuraterip"} + arguments);
        outStream.flush();
        return code;
    }

    // The disc sectors of each track told lost on standard output.
    std::map<int, Sectors> toldLost() const
    {
        std::map<int, Sectors> told;
        static const QRegularExpression line("^Piste (\\d+) : \\d+ secteurs? illisibles? \\((.*)\\)$",
                                             QRegularExpression::MultilineOption);
        static const QRegularExpression span("(\\d+):(\\d+)\\.(\\d+) – (\\d+):(\\d+)\\.(\\d+)");
        for (auto m = line.globalMatch(out); m.hasNext();) {
            const auto found = m.next();
            const int track = found.captured(1).toInt();
            const int32_t start = image.TrackAt(track).firstSector;
            for (auto s = span.globalMatch(found.captured(2)); s.hasNext();) {
                const auto t = s.next();
                const auto at = [&](int i) {
                    return (t.captured(i).toInt() * 60 + t.captured(i + 1).toInt()) * 75 + t.captured(i + 2).toInt();
                };
                for (int32_t sector = at(1); sector < at(4); ++sector)
                    told[track].insert(start + sector);
            }
        }
        return told;
    }

    // The disc sectors of a track whose audio in the WAV file differs from the disc.
    Sectors wrongSectors(const QString& wav, int track) const
    {
        const DiscImage::Track& t = image.TrackAt(track);
        const QByteArray pcm = TestFiles::ReadAll(wav).mid(44, t.pcm.size());
        EXPECT_EQ(pcm.size(), t.pcm.size()) << wav.toStdString();
        Sectors wrong;
        for (int32_t s = 0; s <= t.lastSector - t.firstSector; ++s)
            if (pcm.mid(s * SectorBytes, SectorBytes) != t.pcm.mid(s * SectorBytes, SectorBytes))
                wrong.insert(t.firstSector + s);
        return wrong;
    }

    static Sectors onTrack(const Sectors& sectors, const DiscImage::Track& t)
    {
        return {sectors.lower_bound(t.firstSector), sectors.upper_bound(t.lastSector)};
    }

    static bool covers(const Sectors& told, const Sectors& wrong)
    {
        return std::includes(told.begin(), told.end(), wrong.begin(), wrong.end());
    }

    QTemporaryDir dir;
    DiscImage image;
    QString cue;
    QString out;
};

struct Fault {
    const char* name;
    Kind kind;
    int32_t first;
    int32_t count;
    int tries;
    bool exactlyTold; // a fault that reading sector by sector pins down
};

const Fault Faults[] = {
    {"middle of a track", Kind::FailRead, 1600, 100, DriveFaults::Forever, true},
    {"first sector of a track", Kind::FailRead, 1500, 1, DriveFaults::Forever, true},
    {"first sector of the disc", Kind::FailRead, 0, 1, DriveFaults::Forever, true},
    {"last sector of the disc", Kind::FailRead, 3749, 1, DriveFaults::Forever, true},
    {"across a track boundary", Kind::FailRead, 2990, 20, DriveFaults::Forever, true},
    {"a whole track", Kind::FailRead, 1500, 1500, DriveFaults::Forever, true},
    {"short reads", Kind::ShortRead, 2200, 10, DriveFaults::Forever, true},
    {"bytes that change at each read", Kind::NewWrongBytes, 700, 3, DriveFaults::Forever, false},
};

std::shared_ptr<DriveFaults> faultsOf(const Fault& f)
{
    auto faults = std::make_shared<DriveFaults>();
    faults->Add(f.kind, f.first, f.count, f.tries);
    return faults;
}

Sectors sectorsOf(const Fault& f)
{
    Sectors s;
    for (int32_t i = f.first; i < f.first + f.count; ++i)
        s.insert(i);
    return s;
}
} // namespace

TEST_F(DamagedDisc, EveryWrongSectorOfEveryTrackIsToldAndCleanTracksStayExact)
{
    for (const Fault& f : Faults) {
        SCOPED_TRACE(f.name);
        const QString folder = dir.filePath(f.name);
        EXPECT_EQ(run({"--tracks", "1-3", "--dir", folder, "--wav"}, faultsOf(f)), 3) << out.toStdString();
        const std::map<int, Sectors> told = toldLost();
        const QStringList files = QDir(folder).entryList({"*.wav"}, QDir::Files, QDir::Name);
        ASSERT_EQ(files.size(), 3);
        for (int track = 1; track <= 3; ++track) {
            SCOPED_TRACE(track);
            const Sectors toldHere = told.count(track) ? told.at(track) : Sectors{};
            const Sectors wrong = wrongSectors(folder + '/' + files.at(track - 1), track);
            EXPECT_TRUE(covers(toldHere, wrong)) << out.toStdString();
            const Sectors faulty = onTrack(sectorsOf(f), image.TrackAt(track));
            if (f.exactlyTold) {
                EXPECT_EQ(toldHere, faulty) << out.toStdString();
            }
            if (faulty.empty()) {
                EXPECT_TRUE(wrong.empty() && toldHere.empty()) << "a clean neighbour stays exact";
            }
        }
    }
}

TEST_F(DamagedDisc, OneTrackAndMp3TellTheSameLoss)
{
    const Fault& middle = Faults[0];
    const Fault& boundary = Faults[4];
    ASSERT_EQ(run({"--track", "2", "--out", dir.filePath("two.wav"), "--wav"}, faultsOf(boundary)), 3);
    EXPECT_EQ(toldLost()[2], onTrack(sectorsOf(boundary), image.TrackAt(2)));
    EXPECT_TRUE(covers(toldLost()[2], wrongSectors(dir.filePath("two.wav"), 2)));

    ASSERT_EQ(run({"--track", "3", "--out", dir.filePath("three.mp3"), "--mp3"}, faultsOf(boundary)), 3);
    EXPECT_EQ(toldLost()[3], onTrack(sectorsOf(boundary), image.TrackAt(3)));

    ASSERT_EQ(run({"--tracks", "1-3", "--dir", dir.filePath("mp3"), "--mp3"}, faultsOf(middle)), 3);
    EXPECT_EQ(toldLost(), (std::map<int, Sectors>{{2, sectorsOf(middle)}}));
}

TEST_F(DamagedDisc, FaultsThatARetryGetsPastLoseNothing)
{
    auto faults = std::make_shared<DriveFaults>();
    faults->Add(Kind::FailRead, 100, 20, 2);
    faults->Add(Kind::ShortRead, 1800, 5, 1);
    ASSERT_EQ(run({"--tracks", "1-2", "--dir", dir.filePath("retry"), "--wav"}, faults), 0) << out.toStdString();
    const QStringList files = QDir(dir.filePath("retry")).entryList({"*.wav"}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 2);
    EXPECT_TRUE(wrongSectors(dir.filePath("retry/" + files.at(0)), 1).empty());
    EXPECT_TRUE(wrongSectors(dir.filePath("retry/" + files.at(1)), 2).empty());
}

// A read of the damage takes 0.1 s and fails; the whole track would take
// minutes. A signal to calvenor-rip, or the ripping window's Stop (AbortRip
// from another thread), ends it at once.
TEST_F(DamagedDisc, ASignalOrAStopEndsAReadStuckOnDamageAtOnce)
{
    auto faults = std::make_shared<SlowFaults>();
    faults->Add(Kind::FailRead, 0, 1500);
    const auto timed = [](const std::function<void()>& stop, const std::function<void()>& rip) {
        std::thread stopper([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            stop();
        });
        const auto start = std::chrono::steady_clock::now();
        rip();
        stopper.join();
        return std::chrono::steady_clock::now() - start;
    };
    int code = 0;
    EXPECT_LT(timed([] { std::raise(SIGTERM); },
                    [&] { code = run({"--track", "1", "--out", dir.filePath("stuck.wav"), "--wav"}, faults); }),
              std::chrono::seconds(5));
    EXPECT_NE(code, 0);

    CdioRipLibrary drive({cue});
    drive.SetReadFilter(faults);
    TCDRIP ripper(drive);
    ripper.SetFileFormat(FileFormat::Wav);
    TrackRipResult rip;
    EXPECT_LT(timed([&] { ripper.AbortRip(); }, [&] { rip = ripper.RipTrack(1, dir.filePath("stopped.wav")); }),
              std::chrono::seconds(5));
    EXPECT_FALSE(rip.Read.RangeFinished);
}
