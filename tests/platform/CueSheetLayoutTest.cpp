#include "platform/CalvenorError.h"
#include "platform/CdioDisc.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString LibcdioData = QStringLiteral(CALVENOR_SOURCE_DIR "/tests/platform/data/libcdio/");
const QString FlacData = QStringLiteral(CALVENOR_SOURCE_DIR "/tests/platform/data/flac/");
const QString WhipperData = QStringLiteral(CALVENOR_SOURCE_DIR "/tests/platform/data/whipper/");
// flac checks its sheets against an 80-minute disc.
constexpr qint64 EightyMinutes = 80 * 60 * 75;
// libcdio's cdda.bin and cdda_4_5.bin: 302 sectors.
constexpr int BinSectors = 302;
constexpr int SectorBytes = 2352;

// Sheets as other programs write them, read through libcdio with a .bin beside them.
class CueSheets : public ::testing::Test {
protected:
    QString copy(const QString& name, const QString& from = LibcdioData, qint64 sectors = BinSectors)
    {
        const QString cue = dir.filePath(name);
        EXPECT_TRUE(QFile::copy(from + name, cue));
        makeBin(cue, sectors);
        return cue;
    }
    QString write(const QByteArray& sheet)
    {
        const QString cue = dir.filePath("disc.cue");
        EXPECT_TRUE(TestFiles::Write(cue, "FILE \"disc.bin\" BINARY\n" + sheet));
        makeBin(cue);
        return cue;
    }
    // Sparse: only its size matters.
    static void makeBin(const QString& cue, qint64 sectors = BinSectors)
    {
        QString bin = cue;
        bin.replace(".cue", ".bin");
        QFile file(bin);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(sectors * SectorBytes));
    }
    static QString fault(const QString& cue)
    {
        try {
            CdioDisc(cue).Toc();
        } catch (const CalvenorError& e) {
            return e.message();
        }
        return QString();
    }

    QTemporaryDir dir;
};
} // namespace

TEST_F(CueSheets, ADiscStartingAtTrackFourKeepsItsNumbers)
{
    const CdTocRecord record = CdioDisc(copy("cdda_4_5.cue")).Record();
    ASSERT_EQ(record.tracks.size(), 2);
    EXPECT_EQ(record.tracks.at(0).number, 4);
    EXPECT_EQ(record.tracks.at(0).start, 0);
    EXPECT_EQ(record.tracks.at(1).number, 5);
    EXPECT_EQ(record.tracks.at(1).start, 150);
    EXPECT_EQ(record.leadOut, 302);
    EXPECT_TRUE(record.tracks.at(0).copyPermitted);
    EXPECT_TRUE(record.warnings.isEmpty());
}

TEST_F(CueSheets, ASheetWithCatalogueAndCdTextGivesBoth)
{
    const CdTocRecord record = CdioDisc(copy("cdda.cue")).Record();
    ASSERT_EQ(record.tracks.size(), 1);
    EXPECT_EQ(record.leadOut, 302);
    EXPECT_EQ(record.mcn, "0000010271955");
    EXPECT_EQ(record.text.title, "Join us now we have the software");
    EXPECT_EQ(record.text.performer, "Richard Stallman");
    EXPECT_EQ(record.tracks.at(0).text.title, "Soft");
    EXPECT_EQ(record.tracks.at(0).text.performer, "Richard S");
}

// libcdio refuses these whole; the disc is read without its number.
TEST_F(CueSheets, ACatalogueNumberThatIsNoneIsLeftOutWithAWarning)
{
    for (const char* name : {"bad-cat2.cue", "bad-cat3.cue"}) {
        const QString cue = copy(name);
        const CdTocRecord record = CdioDisc(cue).Record();
        EXPECT_EQ(record.tracks.size(), 1) << name;
        EXPECT_TRUE(record.mcn.isEmpty()) << name;
        ASSERT_EQ(record.warnings.size(), 1) << name;
        EXPECT_TRUE(record.warnings.first().startsWith(QString::fromUtf8("Feuille CUE « %1 », ligne 4 :").arg(cue)))
            << record.warnings.first().toStdString();
    }
}

TEST_F(CueSheets, IsrcsReachTheTableInTwelveCharacters)
{
    const struct {
        const char* written;
        const char* read; // empty: left out, with a warning
    } cases[] = {
        {"AB-CD7-65-43210", "ABCD76543210"},
        {"\"US-SM1-23-45678\"", "USSM12345678"},
        {"usrc17607839", "USRC17607839"},
        {"US-SM1-23-4567", ""},
        {"1SSM12345678", ""},
    };
    for (const auto& c : cases) {
        const QString cue = write(QByteArray("  TRACK 01 AUDIO\n    ISRC ") + c.written + "\n    INDEX 01 00:00:00\n");
        const CdTocRecord record = CdioDisc(cue).Record();
        ASSERT_EQ(record.tracks.size(), 1);
        EXPECT_EQ(record.tracks.at(0).isrc, c.read) << c.written;
        EXPECT_EQ(record.warnings.size(), *c.read ? 0 : 1) << c.written;
    }
}

// What libcdio would take and read out of bounds, or turn into another disc.
TEST_F(CueSheets, OnlyAnImpossibleLayoutIsRefusedNamingItsLine)
{
    const struct {
        const char* sheet;
        int faultLine; // counted in the sheet below its FILE line; 0: read
    } cases[] = {
        {"TRACK 82 AUDIO\nINDEX 01 00:00:00\n", 0},
        {"TRACK 99 AUDIO\nINDEX 01 00:00:00\n", 0},
        {"TRACK 01 AUDIO\nINDEX 00 00:00:00\nINDEX 01 00:01:00\nINDEX 02 00:02:00\n", 0},
        {"TRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 00 00:01:00\nINDEX 01 00:01:00\n", 0},
        {"TRACK 00 AUDIO\nINDEX 01 00:00:00\n", 1},
        {"TRACK 100 AUDIO\nINDEX 01 00:00:00\n", 1},
        {"TRACK 82 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:01:00\n", 3},
        {"TRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 03 AUDIO\nINDEX 01 00:01:00\n", 3},
        {"TRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK x1 AUDIO\nINDEX 01 00:01:00\n", 3},
        {"TRACK 01 AUDIO\nINDEX 01 00:01:00\nINDEX 00 00:00:00\n", 3},
        {"TRACK 01 AUDIO\nINDEX 01 00:00:00\nINDEX 03 00:01:00\n", 3},
        {"TRACK 01 AUDIO\nINDEX 01 00:00:00\nINDEX 02 00:02:00\nINDEX 03 00:01:00\n", 4},
        {"TRACK 01 AUDIO\nINDEX 01 00:00:00\nINDEX 02 00:02:00\nTRACK 02 AUDIO\nINDEX 01 00:01:00\n", 5},
        {"TRACK 01 AUDIO\nINDEX 01 00:00:00\nINDEX 100 00:01:00\n", 3},
        {"TRACK 01 AUDIO\nINDEX 01 00:00:75\n", 2},
        {"TRACK 01 AUDIO\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n", 2},
    };
    for (const auto& c : cases) {
        const QString cue = write(c.sheet);
        const QString error = fault(cue);
        if (c.faultLine == 0) {
            EXPECT_TRUE(error.isEmpty()) << c.sheet << error.toStdString();
            continue;
        }
        const QString start = QString::fromUtf8("La feuille CUE « %1 » décrit un disque impossible : ").arg(cue);
        EXPECT_TRUE(error.startsWith(start)) << c.sheet << error.toStdString();
        EXPECT_TRUE(error.endsWith(QStringLiteral("(ligne %1).").arg(c.faultLine + 1)))
            << c.sheet << error.toStdString();
    }
}

TEST_F(CueSheets, FlacsGoodSheetsAreReadAndItsBadLayoutsRefusedAtItsLines)
{
    for (const char* name : {"good.000.cue", "good.001.cue", "good.002.dos_format.cue",
                             "good.003.missing_final_newline.cue", "good.004.dos_format.missing_final_newline.cue",
                             "good.005.quoted.isrc.cue"}) {
        const QString cue = copy(name, FlacData, EightyMinutes);
        EXPECT_TRUE(fault(cue).isEmpty()) << name << fault(cue).toStdString();
    }
    EXPECT_EQ(CdioDisc(dir.filePath("good.001.cue")).Record().tracks.size(), 28);
    EXPECT_EQ(CdioDisc(dir.filePath("good.005.quoted.isrc.cue")).Record().tracks.value(0).isrc, "USSM12345678");

    const struct {
        const char* name;
        int line;
        bool refused; // else read without the code, with a warning
    } cases[] = {
        {"bad.001.CATALOG_missing_number.cue", 1, false},  {"bad.002.CATALOG_number_too_long.cue", 1, false},
        {"bad.003.CATALOG_not_13_digits.cue", 1, false},   {"bad.031.FLAGS_wrong_place_1.cue", 1, true},
        {"bad.060.INDEX_wrong_place.cue", 2, true},        {"bad.061.INDEX_missing_number.cue", 4, true},
        {"bad.062.INDEX_invalid_number_1.cue", 4, true},   {"bad.063.first_INDEX_not_0_or_1.cue", 4, true},
        {"bad.064.INDEX_num_non_sequential.cue", 5, true}, {"bad.065.INDEX_num_out_of_range.cue", 104, true},
        {"bad.066.INDEX_missing_offset.cue", 4, true},     {"bad.067.INDEX_illegal_offset.cue", 4, true},
        {"bad.068.INDEX_cdda_illegal_offset.cue", 4, true}, {"bad.070.INDEX_offset_not_ascending_1.cue", 5, true},
        {"bad.071.INDEX_offset_not_ascending_2.cue", 6, true}, {"bad.111.ISRC_wrong_place_1.cue", 2, true},
        {"bad.113.ISRC_missing_number.cue", 3, false},     {"bad.114.ISRC_invalid_number.cue", 3, false},
        {"bad.130.TRACK_missing_INDEX_01_1.cue", 2, true}, {"bad.131.TRACK_missing_INDEX_01_2.cue", 3, true},
        {"bad.132.TRACK_missing_INDEX_01_3.cue", 3, true}, {"bad.133.TRACK_missing_INDEX_01_4.cue", 4, true},
        {"bad.134.TRACK_missing_number.cue", 2, true},     {"bad.135.TRACK_invalid_number_1.cue", 2, true},
        {"bad.136.TRACK_invalid_number_2.cue", 2, true},   {"bad.137.TRACK_cdda_out_of_range.cue", 2, true},
        {"bad.138.TRACK_num_non_sequential.cue", 6, true}, {"bad.139.TRACK_missing_type.cue", 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString cue = copy(c.name, FlacData, EightyMinutes);
        const QString error = fault(cue);
        if (c.refused) {
            const QString start = QString::fromUtf8("La feuille CUE « %1 » décrit un disque impossible").arg(cue);
            EXPECT_TRUE(error.startsWith(start)) << error.toStdString();
            EXPECT_TRUE(error.endsWith(QStringLiteral("(ligne %1).").arg(c.line))) << error.toStdString();
            continue;
        }
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        const QStringList warnings = CdioDisc(cue).Record().warnings;
        ASSERT_EQ(warnings.size(), 1);
        const QString start = QString::fromUtf8("Feuille CUE « %1 », ligne %2 :").arg(cue).arg(c.line);
        EXPECT_TRUE(warnings.first().startsWith(start)) << warnings.first().toStdString();
    }
}

TEST_F(CueSheets, WhippersSheetOfOneFileGivesItsTracks)
{
    const CdTocRecord single = CdioDisc(copy("kings-single.cue", WhipperData, EightyMinutes)).Record();
    ASSERT_EQ(single.tracks.size(), 11);
    EXPECT_EQ(single.tracks.at(1).start - single.tracks.at(0).start, 17811);
}
