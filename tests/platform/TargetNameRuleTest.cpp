#include "platform/TargetNameRule.h"
#include "platform/CalvenorError.h"
#include <gtest/gtest.h>

TEST(TargetNameRule, PiecesComeInOrderNumberAlbumArtistTitle)
{
    struct Case {
        const char *title, *artist, *album, *name;
    };
    const Case cases[] = {
        {"", "", "", "03 - Piste 03"},     {"", "", "A", "03 - A - Piste 03"}, {"", "R", "", "03 - R - Piste 03"},
        {"", "R", "A", "03 - A - R - Piste 03"}, {"T", "", "", "03 - T"},     {"T", "", "A", "03 - A - T"},
        {"T", "R", "", "03 - R - T"},       {"T", "R", "A", "03 - A - R - T"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TargetNameRule::ComposeTargetPath("/m/", "Piste 03", c.album, c.artist, c.title, ".mp3"),
                  QString("/m/") + c.name + ".mp3")
            << c.name;
}

TEST(TargetNameRule, FolderSeparatorAndExtension)
{
    EXPECT_EQ(TargetNameRule::ComposeTargetPath("/Docs/Ma musique", "Piste 03", "Live", "", "Intro", ".mp3"),
              "/Docs/Ma musique/03 - Live - Intro.mp3");
    EXPECT_EQ(TargetNameRule::ComposeTargetPath("/Docs/Ma musique", "Piste 03", "", "", "", ".wav"),
              "/Docs/Ma musique/03 - Piste 03.wav");
    EXPECT_EQ(TargetNameRule::ComposeTargetPath("/m", "Piste 04", "Live", "", "Intro", ".flac"),
              "/m/04 - Live - Intro.flac");
    // Blanks are a value: nothing is trimmed.
    EXPECT_EQ(TargetNameRule::ComposeTargetPath("/m/", "Piste 01", " ", "", "x", ".mp3"), "/m/01 -   - x.mp3");
}

TEST(TargetNameRule, ForbiddenCharacters)
{
    for (QChar c : QString("/\\:*?\"<>|"))
        EXPECT_TRUE(TargetNameRule::IsForbiddenNameChar(c)) << c.toLatin1();
    for (QChar c : QString("\tAé-_. 'ß"))
        EXPECT_FALSE(TargetNameRule::IsForbiddenNameChar(c));
    EXPECT_EQ(TargetNameRule::FirstForbiddenChar("AB/CD"), 2);
    EXPECT_EQ(TargetNameRule::FirstForbiddenChar("A-B"), -1);
    // Tags keep such names: their files go without the characters.
    EXPECT_EQ(TargetNameRule::ComposeTargetPath("/m/", "Piste 02", "Live: 1991", "AC/DC", "Qui es-tu ?", ".mp3"),
              "/m/02 - Live 1991 - ACDC - Qui es-tu.mp3");
    EXPECT_EQ(TargetNameRule::ComposeTargetPath("/m/", "Piste 02", "", "", "???", ".wav"), "/m/02 - Piste 02.wav");
}

TEST(TargetNameRule, ParentFolder)
{
    EXPECT_EQ(TargetNameRule::ParentFolder("/home/u/Ma musique/"), "/home/u/");
    EXPECT_EQ(TargetNameRule::ParentFolder("/home/u/Ma musique"), "/home/u/");
    EXPECT_EQ(TargetNameRule::ParentFolder("/home"), "/");
    EXPECT_EQ(TargetNameRule::ParentFolder("/"), "/");
    EXPECT_EQ(TargetNameRule::ParentFolder(""), "/");
}

TEST(TargetNameRule, LabelsExtensionsAndDefaultFolder)
{
    EXPECT_EQ(TargetNameRule::ReplaceLastFour("/m/03 - Intro.mp3", ".wav"), "/m/03 - Intro.wav");
    EXPECT_EQ(TargetNameRule::ReplaceLastFour("ab", ".mp3"), ".mp3");
    EXPECT_EQ(TargetNameRule::DefaultMusicFolder("/home/u/Documents"), "/home/u/Documents/Ma musique/");
    EXPECT_EQ(TargetNameRule::DefaultMusicFolder("/home/u/Documents/"), "/home/u/Documents/Ma musique/");
}

TEST(TargetNameRule, DotFolderNames)
{
    EXPECT_TRUE(TargetNameRule::IsDotFolderName(".."));
    EXPECT_TRUE(TargetNameRule::IsDotFolderName(" . "));
    EXPECT_FALSE(TargetNameRule::IsDotFolderName("..."));
    EXPECT_FALSE(TargetNameRule::IsDotFolderName("a.."));
}

TEST(TargetNameRule, APathThatLeadsOutOfTheFolderIsRefused)
{
    const struct {
        const char *folder, *path;
        bool inside;
    } cases[] = {
        {"/m", "/m/a.wav", true},
        {"/m/", "/m/x/../a.wav", true},
        {"/m", "", true}, // no file
        {"/m", "/m/../a.wav", false},
        {"/m/x", "/m/x/../../a.wav", false},
        {"/m", "/mx/a.wav", false},
        {"/m", "/m", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.inside)
            EXPECT_EQ(TargetNameRule::InsideFolder(c.folder, c.path), c.path);
        else
            EXPECT_THROW(TargetNameRule::InsideFolder(c.folder, c.path), CalvenorError);
    }
}
