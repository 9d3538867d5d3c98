#include "support/DiscImage.h"
#include "support/RipTool.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// An ISRC as a sheet may write it reaches every reader in its 12 characters:
// the table, the tags and the cue sheet the rip writes.
TEST(DiscCodes, AnIsrcWrittenInGroupsGoesEverywhereInTwelveCharacters)
{
    QTemporaryDir dir;
    const QString cue = DiscImage()
                            .AddAudioTrack(DiscImage::SinePcm(150, 440))
                            .WithIsrc("AB-CD7-65-43210")
                            .AddAudioTrack(DiscImage::SinePcm(150, 660))
                            .WithIsrc("\"US-SM1-23-45678\"")
                            .WriteTo(dir.path());
    const RipTool toc = RipTool::Run({"e:", "--drive", "e=" + cue, "--toc"});
    ASSERT_EQ(toc.exitCode, 0) << toc.err.toStdString();
    EXPECT_TRUE(toc.out.contains(" isrc=ABCD76543210\n")) << toc.out.toStdString();
    EXPECT_TRUE(toc.out.contains(" isrc=USSM12345678\n")) << toc.out.toStdString();

    const RipTool rip = RipTool::Run({"e:", "--drive", "e=" + cue, "--tracks", "1-2", "--flac", "--dir",
                                      dir.filePath("out")});
    ASSERT_EQ(rip.exitCode, 0) << rip.err.toStdString();
    const QStringList written = rip.out.split('\n', Qt::SkipEmptyParts).filter(QRegularExpression("\\.flac$"));
    ASSERT_FALSE(written.isEmpty()) << rip.out.toStdString();
    const RipTool tag = RipTool::Run({"--read-tag", written.first()});
    EXPECT_TRUE(tag.out.contains("\nisrc=ABCD76543210\n")) << tag.out.toStdString();
    const QStringList sheets = QDir(dir.filePath("out")).entryList({"*.cue"});
    ASSERT_EQ(sheets.size(), 1);
    const QByteArray sheet = TestFiles::ReadAll(dir.filePath("out/" + sheets.first()));
    EXPECT_TRUE(sheet.contains("ISRC ABCD76543210\n")) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains("ISRC USSM12345678\n")) << sheet.toStdString();
}
