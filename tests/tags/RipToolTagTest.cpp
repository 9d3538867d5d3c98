#include "TagFiles.h"
#include "support/DiscImage.h"
#include "support/RipTool.h"
#include "tags/TMP3Info.h"
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
RipTool runTool(const QStringList& arguments)
{
    return RipTool::Run(arguments);
}
} // namespace

TEST(RipToolTags, TagsWhatItRipsAndReadsTheTagBack)
{
    QTemporaryDir dir;
    const QString cue = DiscImage().AddAudioTrack(DiscImage::SinePcm(30, 440)).AddAudioTrack(DiscImage::NoisePcm(20, 3))
                            .WriteTo(dir.path());
    const QString drive = QStringLiteral("x=") + cue;
    const QString tagged = dir.filePath("tagged.wav");
    const RipTool rip = runTool({"--drive", drive, "x:", "--track", "2", "--out", tagged, "--title",
                                 QStringLiteral("Été à Noël €"), "--artist", QStringLiteral("Zoé"), "--album", "Live",
                                 "--year", "19999", "--genre", "rock & roll", "--comment", "pris sur le vif"});
    ASSERT_EQ(rip.exitCode, 0) << rip.err.toStdString();
    EXPECT_EQ(QFileInfo(tagged).size(), 44 + 20 * DiscImage::SectorBytes + TMP3Info::TagSize);

    const RipTool read = runTool({"--read-tag", tagged});
    EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(read.out, QStringLiteral("title=Été à Noël ?\nartist=Zoé\nalbum=Live\nyear=1999\n"
                                       "comment=pris sur le vif\ngenre=Rock & Roll\ntrack=2\n"));
    TMP3Info info;
    info.SetFilename(tagged);
    EXPECT_EQ(info.GenreID(), 78);

    // An unknown genre name is "Other"; without tag options the track is tagged all the same.
    const QString other = dir.filePath("other.wav");
    ASSERT_EQ(runTool({"--drive", drive, "x:", "--track", "1", "--out", other, "--genre", "Zouk"}).exitCode, 0);
    EXPECT_TRUE(runTool({"--read-tag", other}).out.endsWith("genre=Other\ntrack=1\n"));
    const QString plain = dir.filePath("plain.wav");
    ASSERT_EQ(runTool({"--drive", drive, "x:", "--track", "1", "--out", plain}).exitCode, 0);
    EXPECT_EQ(QFileInfo(plain).size(), 44 + 30 * DiscImage::SectorBytes + TMP3Info::TagSize);
    EXPECT_TRUE(runTool({"--read-tag", plain}).out.endsWith("track=1\n"));
    const QString bare = dir.filePath("bare.wav");
    ASSERT_EQ(runTool({"--drive", drive, "x:", "--track", "1", "--out", bare, "--pcm"}).exitCode, 0);
    const RipTool untagged = runTool({"--read-tag", bare});
    EXPECT_EQ(untagged.exitCode, 1);
    EXPECT_TRUE(untagged.out.isEmpty());
    EXPECT_TRUE(untagged.err.contains("Wrong file format or no ID3 Tag !")) << untagged.err.toStdString();
    EXPECT_TRUE(runTool({"--read-tag", dir.filePath("missing.wav")}).err.contains("File doesn`t exist !"));
}
