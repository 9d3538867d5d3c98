#include "platform/FlacTag.h"
#include "support/Mutagen.h"
#include "tags/TMP3Info.h"
#include "tags/TrackTags.h"
#include <QFile>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString MutagenData = QStringLiteral(CALVENOR_SOURCE_DIR "/tests/tags/data/mutagen/");
const QString TagLibData = QStringLiteral(CALVENOR_SOURCE_DIR "/tests/tags/data/taglib/");

// Files other programs wrote, read as metaflac and mutagen read them.
class TagFilesRead : public ::testing::Test {
protected:
    static bool read(const QString& path, TagFields& fields, QString& why)
    {
        TMP3Info id3v1;
        return TrackTags::Read(id3v1, path, fields, &why);
    }
    // What metaflac prints for a field of the file, without the name.
    static QString metaflac(const QString& path, const char* field)
    {
        QProcess tool;
        tool.start("metaflac", {QStringLiteral("--show-tag=") + field, path});
        tool.waitForFinished(30000);
        return QString::fromUtf8(tool.readAllStandardOutput()).section('\n', 0, 0).section('=', 1);
    }

    QTemporaryDir dir;
};
} // namespace

TEST_F(TagFilesRead, NumbersWrittenNOfMAndEitherTotalSpellingAreRead)
{
    const struct {
        const char* file;
        const char* title;
        int track, trackTotal, disc, discTotal;
    } cases[] = {
        {"silence-44-s.flac", "Silence", 2, 10, 0, 0},
        {"flac_application.flac", "I Want the World to Stop", 4, 11, 0, 0},
        {"variable-block.flac", "DIVE FOR YOU", 1, 11, 1, 2},
        {"id3v22-test.mp3", "cosmic american", 3, 11, 0, 0},
    };
    for (const auto& c : cases) {
        TagFields fields;
        QString why;
        ASSERT_TRUE(read(MutagenData + c.file, fields, why)) << c.file << why.toStdString();
        EXPECT_EQ(fields.title, c.title) << c.file;
        EXPECT_EQ(fields.track, c.track) << c.file;
        EXPECT_EQ(fields.trackTotal, c.trackTotal) << c.file;
        EXPECT_EQ(fields.discNumber, c.disc) << c.file;
        EXPECT_EQ(fields.discTotal, c.discTotal) << c.file;
    }
}

TEST_F(TagFilesRead, TheFirstOfTwoCommentsIsTheFilesAndAnEmptyPaddingHarmsNothing)
{
    TagFields fields;
    QString why;
    ASSERT_TRUE(read(TagLibData + "multiple-vc.flac", fields, why)) << why.toStdString();
    EXPECT_EQ(fields.artist, "Artist 1");
    EXPECT_TRUE(read(TagLibData + "zero-sized-padding.flac", fields, why)) << why.toStdString();
}

TEST_F(TagFilesRead, APictureShorterThanAnnouncedIsPassedOver)
{
    TagFields fields;
    QString why;
    EXPECT_TRUE(read(MutagenData + "106-short-picture-block-size.flac", fields, why)) << why.toStdString();
    EXPECT_TRUE(fields.Empty());
}

// A block of a kind no reader knows, added as mutagen's own test adds one,
// empty: metaflac lists it as UNKNOWN and reads on.
TEST_F(TagFilesRead, ABlockOfAnUnknownKindIsPassedOver)
{
    const QString path = dir.filePath("unknown-block.flac");
    ASSERT_TRUE(QFile::copy(MutagenData + "silence-44-s.flac", path));
    const QJsonObject added = Mutagen::Run(R"(
import sys
from mutagen.flac import FLAC, MetadataBlock
f = FLAC(sys.argv[1])
block = MetadataBlock(b'')
block.code = 99
f.metadata_blocks.insert(1, block)
f.save()
print('{}')
)",
                                           path);
    ASSERT_FALSE(added.contains("failure")) << added.value("failure").toString().toStdString();
    TagFields fields;
    QString why;
    ASSERT_TRUE(read(path, fields, why)) << why.toStdString();
    EXPECT_EQ(fields.title, metaflac(path, "TITLE"));
    EXPECT_EQ(fields.artist, metaflac(path, "ARTIST"));
    EXPECT_EQ(fields.track, 2);
}

TEST_F(TagFilesRead, AFileThatCannotBeReadIsRefusedWithAFrenchReason)
{
    const struct {
        const char* file;
        const char* why;
    } cases[] = {
        {"106-invalid-streaminfo.flac", "ses blocs de métadonnées sont endommagés et ne peuvent pas être lus."},
        {"ooming-header.flac", "ses blocs de métadonnées sont endommagés et ne peuvent pas être lus."},
        {"no-tags.flac", "le fichier ne porte aucun tag (pas de commentaire Vorbis)."},
        {"absent.flac", "le fichier ne peut pas être ouvert."},
    };
    for (const auto& c : cases) {
        TagFields fields;
        QString why;
        EXPECT_FALSE(read(MutagenData + c.file, fields, why)) << c.file;
        EXPECT_EQ(why.toStdString(), c.why) << c.file;
    }
}
