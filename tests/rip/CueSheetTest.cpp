#include "disc/DiscToc.h"
#include "platform/CdioAudioDevice.h"
#include "rip/RipCueSheet.h"
#include "support/DiscImage.h"
#include "support/RipTool.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

namespace {
constexpr int SectorBytes = DiscImage::SectorBytes;
constexpr int WavHeaderBytes = 44;

// A sheet of one FILE per track made one image: the files' audio joined into
// one .bin beside a cue of that one file, its INDEX times moved by the
// length of the files before. sectorsOf gives each file's length.
QString joinedImage(const QString& cueText, const QString& folder,
                    const std::function<int32_t(const QString& file)>& sectorsOf)
{
    static const QRegularExpression fileLine(QStringLiteral("^FILE \"(.*)\" \\w+$"));
    static const QRegularExpression indexLine(QStringLiteral("^(\\s*INDEX \\d\\d) (\\d\\d):(\\d\\d):(\\d\\d)$"));
    QStringList lines;
    int32_t base = 0;
    int32_t total = 0;
    for (const QString& line : cueText.split('\n', Qt::SkipEmptyParts)) {
        if (const auto file = fileLine.match(line); file.hasMatch()) {
            if (total == 0 && lines.filter(QStringLiteral("FILE ")).isEmpty())
                lines << QStringLiteral("FILE \"joined.bin\" BINARY");
            base = total;
            total += sectorsOf(file.captured(1));
        } else if (const auto index = indexLine.match(line); index.hasMatch()) {
            const int32_t at = base + (index.captured(2).toInt() * 60 + index.captured(3).toInt()) * 75
                               + index.captured(4).toInt();
            lines << QStringLiteral("%1 %2:%3:%4")
                         .arg(index.captured(1))
                         .arg(at / 4500, 2, 10, QLatin1Char('0'))
                         .arg(at / 75 % 60, 2, 10, QLatin1Char('0'))
                         .arg(at % 75, 2, 10, QLatin1Char('0'));
        } else {
            lines << line;
        }
    }
    const QString cue = QDir(folder).filePath(QStringLiteral("joined.cue"));
    TestFiles::Write(cue, lines.join('\n').toUtf8() + '\n');
    return cue;
}

// The audio of a WAV file as its data chunk gives it: the ID3v1 trailer stays out.
QByteArray wavAudio(const QString& path)
{
    const QByteArray wav = TestFiles::ReadAll(path);
    if (wav.size() < WavHeaderBytes)
        return QByteArray();
    return wav.mid(WavHeaderBytes, qFromLittleEndian<uint32_t>(wav.constData() + 40));
}

QString tool(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

void expectSameDisc(const DiscToc& read, const DiscToc& disc)
{
    ASSERT_EQ(read.Tracks().size(), disc.Tracks().size());
    EXPECT_EQ(read.LeadOut(), disc.LeadOut());
    EXPECT_EQ(read.Mcn(), disc.Mcn());
    for (qsizetype k = 0; k < disc.Tracks().size(); ++k) {
        const TocTrack& r = read.Tracks().at(k);
        const TocTrack& d = disc.Tracks().at(k);
        SCOPED_TRACE(d.number);
        EXPECT_EQ(r.number, d.number);
        EXPECT_EQ(r.start, d.start);
        EXPECT_EQ(r.pregap, d.pregap);
        EXPECT_EQ(r.indexes, d.indexes);
        EXPECT_EQ(r.isrc, d.isrc);
        EXPECT_EQ(r.preEmphasis, d.preEmphasis);
        EXPECT_EQ(r.copyPermitted, d.copyPermitted);
    }
}

class CueSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        image.WithCatalog("0724384960650")
            .AddAudioTrack(DiscImage::NoisePcm(100, 1))
            .WithIsrc("FRZ039800212")
            .AddAudioTrack(DiscImage::NoisePcm(90, 2), DiscImage::PreEmphasis)
            .WithPregap(20)
            .WithIsrc("USRC17607839")
            .WithIndex(30)
            .WithIndex(51)
            .AddAudioTrack(DiscImage::SinePcm(60, 440), DiscImage::CopyPermitted)
            .AddAudioTrack(DiscImage::NoisePcm(80, 3))
            .WithPregap(33)
            .WithIndex(1);
        cue = image.WriteTo(dir.path());
        out = dir.filePath("rip");
    }
    RipTool rip(const QString& tracks) const
    {
        return RipTool::Run({"--drive", "x=" + cue, "x:", "--tracks", tracks, "--dir", out, "--wav", "--artist",
                             "Zoé", "--album", "Live \"à Nantes\"", "--no-accuraterip", "--no-ctdb"});
    }
    // Named as the tracks are: without the quotes.
    QString sheet() const { return out + "/Zoé - Live à Nantes - PlayList.cue"; }
    QString log() const { return QString::fromUtf8(TestFiles::ReadAll(out + "/Zoé - Live à Nantes - Rapport.log")); }

    QTemporaryDir dir;
    DiscImage image;
    QString cue;
    QString out;
};
} // namespace

// Read back by libcdio and cuetools, the sheet and the ripped files make the
// disc again: starts, pre-gaps, index points, flags, ISRCs and catalogue number.
TEST_F(CueSheet, AWholeDiscRipGivesBackTheDisc)
{
    const RipTool run = rip("1-4");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(sheet() + '\n')) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("Piste 02 : pré-accentuation (à désaccentuer à la lecture)\n"));
    EXPECT_TRUE(log().contains("Fichier CUE : " + sheet() + '\n'));
    EXPECT_EQ(log().count("  Pré-accentuation : oui, à désaccentuer à la lecture\n"), 1);

    const QString text = QString::fromUtf8(TestFiles::ReadAll(sheet()));
    QByteArray joined;
    const QString cueJoined = joinedImage(text, dir.path(), [&](const QString& file) {
        const QByteArray audio = wavAudio(out + '/' + file);
        joined += audio;
        return static_cast<int32_t>(audio.size() / SectorBytes);
    });
    // Each file runs from its track's INDEX 01 to the next one's: pre-gaps end the previous file.
    EXPECT_TRUE(joined == TestFiles::ReadAll(dir.filePath("disc.bin")));
    ASSERT_TRUE(TestFiles::Write(dir.filePath("joined.bin"), joined));
    CdioAudioDevice device;
    const DiscToc read = DiscToc::Read(device, cueJoined);
    expectSameDisc(read, DiscToc::Read(device, cue));
    for (const TocTrack& track : read.Tracks())
        EXPECT_EQ(track.indexes, image.TrackAt(track.number).indexes) << "track " << track.number;

    // Ripped again from the joined image, each track gives the same AccurateRip sums.
    const auto sums = [](const QString& log) {
        static const QRegularExpression line(QStringLiteral("AccurateRip v[12] *: [0-9A-F]{8}"));
        QStringList found;
        for (auto it = line.globalMatch(log); it.hasNext();)
            found << it.next().captured();
        return found;
    };
    const QString again = dir.filePath("again");
    const RipTool joinedRip = RipTool::Run({"--drive", "y=" + cueJoined, "y:", "--tracks", "1-4", "--dir", again,
                                            "--wav", "--no-accuraterip", "--no-ctdb"});
    ASSERT_EQ(joinedRip.exitCode, 0) << joinedRip.err.toStdString();
    const QStringList logs = QDir(again).entryList({"*Rapport.log"});
    ASSERT_EQ(logs.size(), 1);
    EXPECT_EQ(sums(QString::fromUtf8(TestFiles::ReadAll(again + '/' + logs.first()))), sums(log()));
    EXPECT_EQ(sums(log()).size(), 8);

    const QString breakpoints = tool("cuebreakpoints", {"--split-gaps", cue});
    EXPECT_FALSE(breakpoints.isEmpty());
    EXPECT_EQ(tool("cuebreakpoints", {"--split-gaps", cueJoined}), breakpoints);
    EXPECT_EQ(tool("cueprint", {"-d", "%T\n", sheet()}), "Live “à Nantes”\n");
}

TEST_F(CueSheet, ARunOfSomeTracksWritesNone)
{
    const RipTool run = rip("1-3");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(sheet()));
    EXPECT_TRUE(log().contains("Fichier CUE : aucun, le disque n'a pas été rippé en entier\n"));
}

// The audio hidden before track 1, in a file of its own, holds track 1's INDEX 00.
TEST_F(CueSheet, AHiddenTrackFileHoldsTrackOnesPregap)
{
    TocTrack first;
    first.number = 1;
    first.start = 300;
    first.length = 100;
    first.pregap = 0;
    TocTrack second;
    second.number = 2;
    second.start = 400;
    second.length = 50;
    const DiscToc disc({first, second}, 450);
    RipCueSheet sheet(disc);
    sheet.SetHiddenTrack("00 - Piste cachée.wav");
    sheet.SetTrack(1, "01.wav", "", "");
    sheet.SetTrack(2, "02.wav", "", "");
    const QMap<QString, int32_t> lengths{{"00 - Piste cachée.wav", 300}, {"01.wav", 100}, {"02.wav", 50}};
    const QString joined = joinedImage(sheet.Text(), dir.path(), [&](const QString& file) { return lengths.value(file); });
    ASSERT_TRUE(TestFiles::Write(dir.filePath("joined.bin"), QByteArray(450 * SectorBytes, '\0')));
    CdioAudioDevice device;
    expectSameDisc(DiscToc::Read(device, joined), disc);
}
