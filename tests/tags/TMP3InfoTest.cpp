#include "TagFiles.h"
#include "platform/FileError.h"
#include "tags/GenreTable.h"
#include "tags/TMP3Info.h"
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
const QString NoFile = QStringLiteral("File doesn`t exist !");
const QString NoTag = QStringLiteral("Wrong file format or no ID3 Tag !");

// Counts the component's events and remembers Error as each onError saw it.
struct EventLog {
    explicit EventLog(TMP3Info& info)
    {
        info.onChange = [this](TMP3Info*) { ++changes; };
        info.onChangeFile = [this](TMP3Info*) { ++fileChanges; };
        info.onError = [this](TMP3Info* sender) { errors << sender->Error(); };
    }
    int changes = 0;
    int fileChanges = 0;
    QStringList errors;
};

void fill(TMP3Info& info)
{
    info.SetTitle("Intro");
    info.SetArtist("Les Ondes");
    info.SetAlbum("Live");
    info.SetYear("1998");
    info.SetComment("premier jet");
    info.SetGenreID(17);
}
} // namespace

TEST(TMP3Info, StartsEmptyWithGenreOtherAndNothingKnown)
{
    TMP3Info info;
    EXPECT_EQ(info.GenreID(), 12);
    EXPECT_EQ(info.Genre(), "Other");
    EXPECT_FALSE(info.Valid());
    EXPECT_FALSE(info.Saved());
    EXPECT_TRUE(info.Title().isEmpty());
    EXPECT_TRUE(info.Error().isEmpty());
    EXPECT_EQ(info.Genres(), GenreTable::Names());
}

TEST(TMP3Info, SettersKeepTheFieldWidthsAndRaiseOnChange)
{
    TMP3Info info;
    EventLog log(info);
    info.SetTitle(QString(40, 'x'));
    EXPECT_EQ(info.Title(), QString(30, 'x'));
    info.SetYear("19999");
    EXPECT_EQ(info.Year(), "1999");
    info.SetGenreID(200);
    EXPECT_EQ(info.GenreID(), 12);
    EXPECT_EQ(info.Genre(), "Other");
    info.SetGenreID(0);
    EXPECT_EQ(info.Genre(), "Blues");
    info.SetGenreID(115);
    EXPECT_EQ(info.Genre(), "Folklore");
    EXPECT_EQ(log.changes, 5);
    // Each character is one byte of the tag: a character outside Latin-1,
    // even one of two UTF-16 units, counts once and is never split.
    const QString clef = QString::fromUcs4(U"\U0001D11E");
    info.SetComment(QString(29, QChar(0xE9)) + clef + "zz");
    EXPECT_EQ(info.Comment(), QString(29, QChar(0xE9)) + clef);
}

TEST(TMP3Info, SavingAnUntaggedFileAppendsTheTrailer)
{
    TagFiles files;
    const QByteArray body = TagFiles::Body(1000);
    const QString path = files.Write("a.mp3", body);
    TMP3Info info;
    EventLog log(info);
    info.SetFilename(path);
    EXPECT_FALSE(info.Valid());
    EXPECT_EQ(log.errors, QStringList{NoTag});
    fill(info);
    info.Save();
    EXPECT_TRUE(info.Saved());
    const QByteArray written = TagFiles::ReadAll(path);
    EXPECT_EQ(written, body + TagFiles::Trailer("Intro", "Les Ondes", "Live", "1998", "premier jet", 17));

    // The same file, read again, gives back every field.
    TMP3Info reader;
    EventLog readerLog(reader);
    reader.SetFilename(path);
    EXPECT_TRUE(reader.Valid());
    EXPECT_FALSE(reader.Saved());
    EXPECT_EQ(readerLog.fileChanges, 1);
    EXPECT_EQ(readerLog.changes, 0);
    EXPECT_TRUE(readerLog.errors.isEmpty());
    EXPECT_EQ(reader.Title(), "Intro");
    EXPECT_EQ(reader.Artist(), "Les Ondes");
    EXPECT_EQ(reader.Album(), "Live");
    EXPECT_EQ(reader.Year(), "1998");
    EXPECT_EQ(reader.Comment(), "premier jet");
    EXPECT_EQ(reader.GenreID(), 17);
    EXPECT_EQ(reader.Genre(), "Rock");
}

TEST(TMP3Info, EmptyFieldsGiveTagAndSpacesAndTheGenreByte)
{
    TagFiles files;
    const QString path = files.Write("a.mp3", TagFiles::Body(300));
    TMP3Info info;
    info.SetFilename(path);
    info.Save();
    EXPECT_EQ(TagFiles::ReadAll(path).right(128), "TAG" + QByteArray(124, ' ') + QByteArray(1, char(12)));
}

TEST(TMP3Info, SavingATaggedFileReplacesItsTrailer)
{
    TagFiles files;
    const QByteArray body = TagFiles::Body(700);
    const QString path = files.Write("a.mp3", body + TagFiles::Trailer("Old", "Someone", "Else", "1970", "x", 3));
    TMP3Info info;
    info.SetFilename(path);
    ASSERT_TRUE(info.Valid());
    info.SetTitle("New");
    info.Save();
    EXPECT_TRUE(info.Saved());
    EXPECT_EQ(TagFiles::ReadAll(path), body + TagFiles::Trailer("New", "Someone", "Else", "1970", "x", 3));
    // A second save after an append replaces what it appended.
    const QString untagged = files.Write("b.mp3", body);
    info.SetFilename(untagged);
    info.Save();
    info.Save();
    EXPECT_EQ(TagFiles::ReadAll(untagged).size(), body.size() + 128);
}

TEST(TMP3Info, FieldsEndAtAZeroByteOrBeforeTrailingSpaces)
{
    TagFiles files;
    TMP3Info info;
    const QString spaces = files.Write("s.mp3", TagFiles::Body(200) + TagFiles::Trailer("Abcd", "Artist in full 30 characters!!", "", "", "", 0));
    info.SetFilename(spaces);
    EXPECT_EQ(info.Title(), "Abcd");
    EXPECT_EQ(info.Artist(), "Artist in full 30 characters!!");
    const QString zeros = files.Write("z.mp3", TagFiles::Body(200) + TagFiles::Trailer("Abcd", "Artist in full 30 characters!!", "  Al", "99", QByteArray("c\0junk", 6), 0, '\0'));
    info.SetFilename(zeros);
    EXPECT_EQ(info.Title(), "Abcd");
    EXPECT_EQ(info.Artist(), "Artist in full 30 characters!!");
    EXPECT_EQ(info.Album(), "  Al"); // leading spaces stay
    EXPECT_EQ(info.Year(), "99");
    EXPECT_EQ(info.Comment(), "c");
    // Bytes are ISO-8859-1.
    const QString latin = files.Write("l.mp3", TagFiles::Trailer("\xC9t\xE9", "", "", "", "", 0));
    info.SetFilename(latin);
    EXPECT_EQ(info.Title(), QStringLiteral("Été"));
}

TEST(TMP3Info, GenreBytesPastTheTableReadAsOther)
{
    TagFiles files;
    TMP3Info info;
    const struct { uint8_t byte; int id; const char* name; } cases[] = {
        {115, 115, "Folklore"}, {116, 12, "Other"}, {255, 12, "Other"}, {84, 84, "Fast Fusion"},
        {102, 102, "Chanson"}};
    for (const auto& c : cases) {
        info.SetFilename(files.Write("g.mp3", TagFiles::Trailer("t", "", "", "", "", c.byte)));
        EXPECT_TRUE(info.Valid());
        EXPECT_EQ(info.GenreID(), c.id) << int(c.byte);
        EXPECT_EQ(info.Genre(), c.name) << int(c.byte);
    }
}

TEST(TMP3Info, AnythingButUpperCaseTagIsNoTagAndClearsTheFields)
{
    TagFiles files;
    TMP3Info info;
    EventLog log(info);
    info.SetFilename(files.Write("t.mp3", TagFiles::Trailer("Kept?", "A", "B", "2000", "C", 5)));
    ASSERT_TRUE(info.Valid());
    QByteArray lower = TagFiles::Trailer("Title", "A", "B", "2000", "C", 5);
    lower.replace(0, 3, "tag");
    info.SetFilename(files.Write("lower.mp3", TagFiles::Body(400) + lower));
    EXPECT_FALSE(info.Valid());
    EXPECT_EQ(log.errors, QStringList{NoTag});
    EXPECT_EQ(info.Error(), NoTag);
    EXPECT_TRUE(info.Title().isEmpty());
    EXPECT_TRUE(info.Artist().isEmpty());
    EXPECT_TRUE(info.Album().isEmpty());
    EXPECT_TRUE(info.Year().isEmpty());
    EXPECT_TRUE(info.Comment().isEmpty());
    EXPECT_EQ(info.GenreID(), 12);
    EXPECT_EQ(info.Genre(), "Other");
    EXPECT_EQ(log.fileChanges, 1);
    EXPECT_EQ(log.changes, 0);
}

TEST(TMP3Info, FilesShorterThanATagHaveNoneAndGetOneAppended)
{
    TagFiles files;
    for (int size = 0; size < 128; ++size) {
        const QByteArray body = TagFiles::Body(size);
        const QString path = files.Write(QStringLiteral("short%1.mp3").arg(size), body);
        TMP3Info info;
        EventLog log(info);
        ASSERT_NO_THROW(info.SetFilename(path)) << size;
        EXPECT_FALSE(info.Valid()) << size;
        EXPECT_EQ(log.errors, QStringList{NoTag}) << size;
        info.SetTitle("T");
        info.Save();
        EXPECT_TRUE(info.Saved()) << size;
        EXPECT_EQ(TagFiles::ReadAll(path), body + TagFiles::Trailer("T", "", "", "", "", 12)) << size;
    }
    // Three bytes "TAG" alone are no tag either.
    TMP3Info info;
    info.SetFilename(files.Write("tagonly.mp3", "TAG"));
    EXPECT_FALSE(info.Valid());
}

TEST(TMP3Info, MissingFileIsReportedAndTheFieldsStay)
{
    TagFiles files;
    const QString path = files.Write("a.mp3", TagFiles::Body(10) + TagFiles::Trailer("Here", "", "", "", "", 1));
    TMP3Info info;
    EventLog log(info);
    info.SetFilename(path);
    info.SetFilename(files.Path("missing.mp3"));
    EXPECT_FALSE(info.Valid());
    EXPECT_EQ(info.Title(), "Here");
    EXPECT_EQ(info.Error(), NoFile);
    info.Save();
    EXPECT_FALSE(info.Saved());
    EXPECT_EQ(info.Error(), QStringLiteral("File doesn`t exist or is not valid !"));
    info.RemoveID3();
    EXPECT_EQ(log.errors, (QStringList{NoFile, "File doesn`t exist or is not valid !", NoFile}));
    EXPECT_FALSE(QFile::exists(files.Path("missing.mp3")));
    // A folder is not a file.
    info.SetFilename(files.Path(""));
    EXPECT_EQ(info.Error(), NoFile);
}

TEST(TMP3Info, RemovingCutsTheTagOffOnce)
{
    TagFiles files;
    const QByteArray body = TagFiles::Body(900);
    const QString path = files.Write("a.mp3", body + TagFiles::Trailer("T", "R", "A", "2001", "C", 9));
    TMP3Info info;
    EventLog log(info);
    info.SetFilename(path);
    info.RemoveID3();
    EXPECT_FALSE(info.Valid());
    EXPECT_EQ(TagFiles::ReadAll(path), body);
    EXPECT_EQ(info.Title(), "T");
    EXPECT_EQ(info.GenreID(), 9);
    EXPECT_TRUE(log.errors.isEmpty());
    info.RemoveID3();
    EXPECT_EQ(log.errors, QStringList{"File is already untagged !"});
    EXPECT_EQ(TagFiles::ReadAll(path), body);
    // Saving now appends again.
    info.Save();
    EXPECT_EQ(TagFiles::ReadAll(path).size(), body.size() + 128);
}

TEST(TMP3Info, ReadOnlyFilesAreReadAndMadeWritableToSave)
{
    TagFiles files;
    const QByteArray body = TagFiles::Body(500);
    const QString path = files.Write("ro.mp3", body + TagFiles::Trailer("Old", "", "", "", "", 2));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    TMP3Info info;
    info.SetFilename(path);
    EXPECT_TRUE(info.Valid());
    EXPECT_EQ(info.Title(), "Old");
    info.SetTitle("New");
    info.Save();
    EXPECT_TRUE(info.Saved());
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::WriteOwner);
    EXPECT_EQ(TagFiles::ReadAll(path), body + TagFiles::Trailer("New", "", "", "", "", 2));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    info.RemoveID3();
    EXPECT_FALSE(info.Valid());
    EXPECT_EQ(TagFiles::ReadAll(path), body);
}

TEST(TMP3Info, AFileThatShrankBelowATagIsNotSavedOrCut)
{
    TagFiles files;
    const QString path = files.Write("a.mp3", TagFiles::Body(20) + TagFiles::Trailer("T", "", "", "", "", 2));
    TMP3Info info;
    EventLog log(info);
    info.SetFilename(path);
    ASSERT_TRUE(info.Valid());
    files.Write("a.mp3", TagFiles::Body(20));
    info.Save();
    EXPECT_FALSE(info.Saved());
    EXPECT_EQ(log.errors, QStringList({"Le fichier est plus court qu'une étiquette ID3 : il a changé depuis sa lecture."}));
    EXPECT_EQ(TagFiles::ReadAll(path), TagFiles::Body(20));
    EXPECT_THROW(info.RemoveID3(), FileError);
    EXPECT_EQ(TagFiles::ReadAll(path), TagFiles::Body(20));
}

TEST(TMP3Info, AnUnreadableFileRaisesAFileError)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the super-user";
    TagFiles files;
    const QString path = files.Write("locked.mp3", TagFiles::Body(300));
    ASSERT_TRUE(QFile::setPermissions(path, {}));
    TMP3Info info;
    EventLog log(info);
    EXPECT_THROW(info.SetFilename(path), FileError);
    EXPECT_TRUE(log.errors.isEmpty());
}

// A file the system will not let anyone write (immutable, as on a read-only
// destination): the reason is told, not a stale one from reading the file.
TEST(TMP3Info, AFileThatCannotBeWrittenSaysWhy)
{
    TagFiles files;
    const QString path = files.Write("figé.mp3", TagFiles::Body(300));
    if (QProcess::execute("chattr", {"+i", path}) != 0)
        GTEST_SKIP() << "no immutable files here";
    TMP3Info info;
    info.SetFilename(path);
    info.SetTitle("Titre");
    info.Save();
    QProcess::execute("chattr", {"-i", path});
    EXPECT_FALSE(info.Saved());
    EXPECT_EQ(info.Error(), "Accès refusé.");
    EXPECT_EQ(TagFiles::ReadAll(path), TagFiles::Body(300));
}

// The standard numbering: "Fast Fusion" at 84, every later name one higher.
TEST(GenreTable, HoldsTheStandardNamesAndFindsThemByName)
{
    const QStringList& names = GenreTable::Names();
    ASSERT_EQ(names.size(), 116);
    EXPECT_EQ(names.at(0), "Blues");
    EXPECT_EQ(names.at(12), "Other");
    EXPECT_EQ(names.at(83), "Swing");
    EXPECT_EQ(names.at(84), "Fast Fusion");
    EXPECT_EQ(names.at(85), "Bebob");
    EXPECT_EQ(names.at(101), "Speech");
    EXPECT_EQ(names.at(102), "Chanson");
    EXPECT_EQ(names.at(115), "Folklore");
    EXPECT_EQ(GenreTable::IdOfName("rock"), 17);
    EXPECT_EQ(GenreTable::IdOfName("ROCK & ROLL"), 78);
    EXPECT_EQ(GenreTable::IdOfName("Folklore"), 115);
    EXPECT_EQ(GenreTable::IdOfName("misc"), 12);
    EXPECT_EQ(GenreTable::IdOfName(""), 12);
    EXPECT_EQ(GenreTable::NameOf(116), "Other");
}
