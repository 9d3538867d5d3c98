#include "platform/CdioRipLibrary.h"
#include "rip/TCDRIP.h"
#include "support/DiscImage.h"
#include "support/RipTool.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
constexpr int HiddenSectors = 60;

// Two tracks of noise, with or without audio before track 1's INDEX 01,
// read through the real libcdio.
class HiddenTrack : public ::testing::Test {
protected:
    QString writeDisc(const QByteArray& hidden, const QString& name)
    {
        DiscImage image;
        if (!hidden.isEmpty())
            image.SetHiddenAudio(hidden);
        image.AddAudioTrack(DiscImage::NoisePcm(40, 11)).AddAudioTrack(DiscImage::NoisePcm(30, 12));
        return image.WriteTo(dir.path(), name);
    }
    static QByteArray pcmOf(const QString& wav)
    {
        QFile f(wav);
        return f.open(QIODevice::ReadOnly) ? f.readAll().mid(44) : QByteArray();
    }

    QTemporaryDir dir;
};

TEST_F(HiddenTrack, OfferedUntickedWhenItHoldsAudioAndRippedAsTheDiscHoldsIt)
{
    struct Case {
        const char* name;
        QByteArray hidden;
        bool offered;
    };
    const QList<Case> cases = {
        {"audio", DiscImage::NoisePcm(HiddenSectors, 3), true},
        {"digital silence", QByteArray(HiddenSectors * DiscImage::SectorBytes, '\0'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CdioRipLibrary lib({writeDisc(c.hidden, c.name)});
        TCDRIP ripper(lib);
        const QList<AlbumTrack> rows = ripper.AlbumTracks();
        ASSERT_EQ(rows.size(), c.offered ? 3 : 2);
        EXPECT_EQ(rows.first().number, c.offered ? 0 : 1);
        EXPECT_FALSE(rows.first().ticked);
        if (!c.offered)
            continue;
        EXPECT_EQ(rows.first().value(AlbumTrack::Title), "Piste cachée");
        ripper.SetFileFormat(FileFormat::Wav);
        const TrackRipResult rip = ripper.RipTrack(0, dir.filePath("00.wav"));
        EXPECT_TRUE(rip.ReadWhole());
        EXPECT_EQ(rip.TrackNum, 0);
        EXPECT_FALSE(rip.HasChecksums) << "AccurateRip knows no hidden track";
        EXPECT_TRUE(pcmOf(dir.filePath("00.wav")) == c.hidden);
    }
}

// Track 1 is still the disc's first for AccurateRip: its first five sectors
// are left out of its sums as on a disc without hidden audio.
TEST_F(HiddenTrack, TrackOnesAccurateRipSumsAreThoseOfTheSameDiscWithoutIt)
{
    CdioRipLibrary plainLib({writeDisc({}, "plain")});
    CdioRipLibrary hiddenLib({writeDisc(DiscImage::NoisePcm(HiddenSectors, 3), "hidden")});
    TCDRIP plain(plainLib), hidden(hiddenLib);
    const TrackRipResult a = plain.RipTrack(1, dir.filePath("a.pcm"));
    const TrackRipResult b = hidden.RipTrack(1, dir.filePath("b.pcm"));
    ASSERT_TRUE(a.HasChecksums && b.HasChecksums);
    EXPECT_EQ(a.V1, b.V1);
    EXPECT_EQ(a.V2, b.V2);
    EXPECT_EQ(a.CtdbCrcs, b.CtdbCrcs);
}

TEST_F(HiddenTrack, CalvenorRipTakesTrackZeroWhenTheDiscHasOne)
{
    const QString out = dir.filePath("out");
    const RipTool ripped = RipTool::Run(
        {"e:", "--drive", "e=" + writeDisc(DiscImage::NoisePcm(HiddenSectors, 3), "hidden"), "--tracks", "0-1",
         "--dir", out, "--no-accuraterip", "--no-ctdb"});
    ASSERT_EQ(ripped.exitCode, 0) << ripped.err.toStdString();
    EXPECT_TRUE(ripped.out.endsWith(QDir(out).filePath("00 - Piste cachée.wav") + '\n' + QDir(out).filePath("01 - Piste 01.wav")
                                    + '\n'))
        << ripped.out.toStdString();
    QFile playlist(ripped.out.split('\n').filter(".M3u").value(0));
    ASSERT_TRUE(playlist.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(playlist.readAll()).startsWith("00 - Piste cachée.wav\r\n01 - Piste 01.wav"));
    const QStringList logs = QDir(out).entryList({"*.log"});
    ASSERT_EQ(logs.size(), 1);
    QFile log(QDir(out).filePath(logs.first()));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains("Piste 00\n  Fichier : " + QDir(out).filePath("00 - Piste cachée.wav")));

    const RipTool refused = RipTool::Run({"e:", "--drive", "e=" + writeDisc({}, "plain"), "--tracks", "0-1", "--dir",
                                          out, "--no-accuraterip", "--no-ctdb"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("Le disque n'a pas de piste cachée")) << refused.err.toStdString();
}
// A two-track disc is two tracks long, with or without audio hidden before track 1.
TEST_F(HiddenTrack, TheTrackTotalLeavesTheHiddenTrackOut)
{
    for (const QByteArray& hidden : {QByteArray(), DiscImage::NoisePcm(HiddenSectors, 3)}) {
        const QString out = dir.filePath(hidden.isEmpty() ? "plain" : "hidden");
        const QString disc = writeDisc(hidden, hidden.isEmpty() ? "plain" : "hidden");
        const RipTool ripped = RipTool::Run({"e:", "--drive", "e=" + disc, "--tracks", "1", "--flac", "--dir", out,
                                             "--no-accuraterip", "--no-ctdb"});
        ASSERT_EQ(ripped.exitCode, 0) << ripped.err.toStdString();
        const RipTool tag = RipTool::Run({"--read-tag", QDir(out).filePath("01 - Piste 01.flac")});
        EXPECT_TRUE(tag.out.contains("tracktotal=2\n")) << tag.out.toStdString();
    }
}
} // namespace
