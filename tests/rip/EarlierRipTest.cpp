#include "disc/DiscToc.h"
#include "encode/WavHeader.h"
#include "platform/CalvenorError.h"
#include "rip/EarlierRip.h"
#include "rip/RipCueSheet.h"
#include "rip/RipLog.h"
#include "support/DiscImage.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A rip's folder as a run leaves it: a cue sheet with one WAV file per
// track, track 1 after a pre-gap and track 2's pre-gap at the end of track
// 1's file, and a log that may give the disc's table.
namespace {
class EarlierRipFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        QList<TocTrack> tracks;
        for (const auto& [number, start, length] : {std::tuple{1, 32, 40}, std::tuple{2, 72, 50}}) {
            TocTrack t;
            t.number = number;
            t.start = start;
            t.length = length;
            tracks << t;
        }
        tracks[1].pregap = 60;
        const DiscToc toc(tracks, 122);
        RipCueSheet sheet(toc);
        for (const TocTrack& t : tracks) {
            const QString name = QStringLiteral("0%1 - Piste.wav").arg(t.number);
            const QByteArray pcm = DiscImage::NoisePcm(t.length, t.number);
            ASSERT_TRUE(TestFiles::Write(dir.filePath(name), WavHeader::Make(2, 44100, pcm.size()) + pcm));
            sheet.SetTrack(t.number, name, QString(), QString());
        }
        sheet.Save(dir.filePath("Album PlayList.cue"));
    }

    QTemporaryDir dir;
};

QString startsOf(const DiscToc& toc)
{
    return toc.CtdbLookupToc();
}
} // namespace

TEST_F(EarlierRipFolder, TheTableComesFromTheSheetAndTheFilesOrFromTheLog)
{
    const EarlierRip rip = EarlierRip::Read(dir.path());
    EXPECT_EQ(rip.CueSheet(), dir.filePath("Album PlayList.cue"));
    EXPECT_EQ(rip.Log(), dir.filePath("Album Rapport.log"));
    EXPECT_EQ(startsOf(rip.Toc()), "32:72:122");
    ASSERT_EQ(rip.Files().Tracks().size(), 2);
    EXPECT_EQ(rip.Files().Tracks().at(1).Path, dir.filePath("02 - Piste.wav"));
    EXPECT_EQ(rip.Files().Start(1), 40 * DiscImage::SectorBytes);

    // A log gives the table as the disc had it, a data track after the audio.
    ASSERT_TRUE(TestFiles::Write(rip.Log(), (RipLog::DiscTableStart + "32:72:-11522:20000\n").toUtf8()));
    EXPECT_EQ(startsOf(EarlierRip::Read(dir.filePath("Album PlayList.cue")).Toc()), "32:72:-11522:20000");
}

TEST_F(EarlierRipFolder, ASheetOfAnotherKindIsRefused)
{
    ASSERT_TRUE(TestFiles::Write(dir.filePath("Album PlayList.cue"),
                                 "REM COMMENT \"Calvenor\"\nFILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n"
                                 "    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n"));
    try {
        EarlierRip::Read(dir.path());
        ADD_FAILURE() << "a sheet of one file for the disc was taken";
    } catch (const CalvenorError& e) {
        EXPECT_TRUE(e.message().contains("la piste 2 ne commence pas au début de son fichier")) << e.message().toStdString();
    }
}
