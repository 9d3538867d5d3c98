#include "cddb/FakeCdAudioDevice.h"
#include "disc/AccurateRipDiscId.h"
#include "disc/DiscToc.h"
#include "platform/CdioAudioDevice.h"
#include "support/FakeDrives.h"
#include "support/TestFiles.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
constexpr int LeadIn = 150;

// A table of contents as published: starts and lead-out in frames from the
// very start of the disc, the disc's numbers of its data tracks.
struct Published {
    const char* disc;
    int firstTrack;
    QList<int> starts;
    int leadOut;
    QList<int> dataTracks;
    // Identifiers the sources give; empty when they give none.
    const char* cddb;
    const char* musicBrainz;
    const char* accurateRip;
    const char* ctdb;
};

DiscToc tocOf(const Published& p)
{
    QList<TocTrack> tracks;
    for (int k = 0; k < p.starts.size(); ++k) {
        TocTrack t;
        t.number = p.firstTrack + k;
        t.start = p.starts.at(k) - LeadIn;
        t.length = (k + 1 < p.starts.size() ? p.starts.at(k + 1) : p.leadOut) - p.starts.at(k);
        t.audio = !p.dataTracks.contains(t.number);
        tracks << t;
    }
    return DiscToc(tracks, p.leadOut - LeadIn);
}

QList<int> brokenStarts()
{
    // 99 tracks, the first after a hidden track in its pregap; tracks 8 to
    // 98 are 302 or 303 frames apart.
    QList<int> starts{182, 4862, 21867, 43210, 51925, 76015, 94625};
    for (int k = 0; k < 91; ++k)
        starts << 94927 + (k * 605 + 1) / 2;
    starts << 146897;
    return starts;
}

const Published Discs[] = {
    // The MusicBrainz "Disc ID Calculation" page.
    {"MusicBrainz example", 1, {150, 15363, 32314, 46592, 63414, 80489}, 95462, {}, "", "49HHV7Eb8UKF3aQiNmu1GR8vKTY-",
     "", ""},
    // The CUETools database's and CDDB's identifiers of the TOC 4+96+2D2B+6256+B327+D84A.
    {"CTDB example", 1, {0x96, 0x2D2B, 0x6256, 0xB327}, 0xD84A, {}, "1f02e004", "", "",
     "VukMWWItblELRM.CEFpXxw0FlME-"},
    // An enhanced CD, data track last, as its AccurateRip and MusicBrainz entries give it.
    {"Enhanced CD", 1, {150, 12767, 40487, 63225, 93410, 118115, 151865, 184340, 215260, 247455, 281735}, 333801, {11},
     "9e11600b", "9AQWqQ0eCCwktwPPrIUIYkUw2Uo-", "010-00164419-00b9f6e2-9e11600b", ""},
    // A mixed-mode game CD, data track first.
    {"Mixed mode", 1,
     {150,    66728,  76502,  85963,  93760,  104048, 116066, 124743, 134206, 142916,
      151852, 160720, 169425, 178731, 188459, 196711, 206354, 214845, 223686, 225746,
      226384, 232668, 239447, 239931, 244989, 254264, 260066, 261222, 261674},
     261976, {1}, "af0da31d", "", "028-00517a54-05a845d2-af0da31d", ""},
    // The ten-track disc of the disc identifier documentation.
    {"Ten tracks", 1, {150, 18901, 39738, 59557, 79152, 100126, 124833, 147278, 166336, 182560}, 206535, {},
     "830abf0a", "", "", ""},
    // One track whose last frame is 29:59:74: the lead-out rolls over to 30:00:00.
    {"Thirty minutes", 1, {150}, 30 * 4500, {}, "02070601", "", "", ""},
    {"Hidden track, 99 tracks", 1, brokenStarts(), 169932, {}, "6308d763", "RQ9yuzEHF_fzexjCzj46KcdIaHA-",
     "099-009fc8d0-224410e4-6308d763", ""},
};
} // namespace

TEST(DiscToc, IdentifiersOfPublishedDiscs)
{
    for (const Published& p : Discs) {
        SCOPED_TRACE(p.disc);
        const DiscToc toc = tocOf(p);
        if (*p.cddb) {
            EXPECT_EQ(toc.CddbIdText(), p.cddb);
        }
        if (*p.musicBrainz) {
            EXPECT_EQ(toc.MusicBrainzId(), p.musicBrainz);
        }
        if (*p.accurateRip) {
            EXPECT_EQ(AccurateRipDiscId(toc).Text(), p.accurateRip);
        }
        if (*p.ctdb) {
            EXPECT_EQ(toc.CtdbId(), p.ctdb);
        }
    }
}

// The example of cd-discid's README: the query ends with the lead-out in
// seconds, not with the playing time the identifier holds.
TEST(DiscToc, CddbQueryEndsWithTheLeadOutInSeconds)
{
    const Published p{"cd-discid", 1,
                      {15037, 33615, 47637, 64202, 80665, 99150, 112272, 129287, 150072, 167990, 187560, 199785, 218482},
                      3053 * 75, {}, "", "", "", ""};
    EXPECT_EQ(tocOf(p).CddbQueryArguments(),
              "a20b250d 13 15037 33615 47637 64202 80665 99150 112272 129287 150072 167990 187560 199785 218482 3053");
}

// The checksum byte: digit sums of each start's whole seconds, modulo 255; a
// track in its first second adds nothing.
TEST(DiscToc, CddbChecksumByte)
{
    const auto checksum = [](const QList<int>& seconds) {
        QList<int> starts;
        for (int s : seconds)
            starts << s * 75;
        return tocOf({"", 1, starts, starts.last() + 7500, {}, "", "", "", ""}).CddbId() >> 24;
    };
    const QList<int> fourteen(14, 99); // digit sum 18 each: 252
    EXPECT_EQ(checksum(fourteen + QList<int>{3}), 0u);                // 255
    EXPECT_EQ(checksum(fourteen + QList<int>{4}), 1u);                // 256
    EXPECT_EQ(checksum(fourteen + fourteen + QList<int>{6}), 0u);     // 510
    EXPECT_EQ(checksum({0, 20}), 2u);
}

TEST(DiscToc, ReadingADriveFailsInFrenchAndClosesTheDisc)
{
    FakeDrives drives;
    drives.sources = {{'d', "/dev/sr0"}};
    FakeCdAudioDevice device;
    try {
        DiscToc::ReadDrive(drives, device, 'x');
        FAIL() << "a letter without a drive was read";
    } catch (const CalvenorError& e) {
        EXPECT_EQ(e.message(), "Aucun lecteur de CD ne porte la lettre « x ».");
    }
    EXPECT_THROW(DiscToc::ReadDrive(drives, device, 'd'), CalvenorError) << "no disc in d";
    device.tocs["/dev/sr0"] = {{150, 1000}, 2000};
    EXPECT_EQ(DiscToc::ReadDrive(drives, device, 'd').Tracks().size(), 2);
    EXPECT_EQ(device.opened, 1);
    EXPECT_EQ(device.closed, 1);
    EXPECT_THROW(DiscToc().CddbId(), CalvenorError);
}

// The MusicBrainz example's table on a disc that starts at track 2: the
// public algorithm puts each offset in the place of its track number, which
// gives another identifier (worked apart from libdiscid).
TEST(DiscToc, ReadKeepsTheDiscsOwnNumbersAndItsCodes)
{
    FakeCdAudioDevice device;
    device.tocs["/dev/sr0"] = {{150, 15363, 32314, 46592, 63414, 80489}, 95462, 2, {"FRZ039800212"}, "0724384960650"};
    device.dataTracks["/dev/sr0"] = {7};
    const DiscToc toc = DiscToc::Read(device, "/dev/sr0");
    EXPECT_EQ(toc.FirstTrack(), 2);
    EXPECT_EQ(toc.LastTrack(), 7);
    ASSERT_NE(toc.Track(7), nullptr);
    EXPECT_FALSE(toc.Track(7)->audio);
    EXPECT_EQ(toc.Track(3)->length, 32314 - 15363);
    EXPECT_EQ(toc.Track(2)->isrc, "FRZ039800212");
    EXPECT_EQ(toc.Mcn(), "0724384960650");
    device.dataTracks.clear();
    EXPECT_EQ(DiscToc::Read(device, "/dev/sr0").MusicBrainzId(), "uXLo4SzGBbHkQV4FVHhO13rsCb8-");
}

// A cue sheet and a cdrdao table of the same disc, read by libcdio: pregap,
// flags, ISRC and catalogue number. (libcdio ends a .toc's last track early
// when it has a START: the pre-gap here is the middle track's; it finds a
// .toc's files from the working folder: they are named in full.)
TEST(DiscToc, ReadsWhatACueSheetOrATocTells)
{
    const struct {
        const char* name;
        const char* text;
    } images[] = {
        {"disc.cue", "CATALOG 0724384960650\n"
                     "FILE \"disc.bin\" BINARY\n"
                     "  TRACK 01 AUDIO\n"
                     "    FLAGS PRE DCP\n"
                     "    ISRC FRZ039800212\n"
                     "    INDEX 01 00:00:00\n"
                     "  TRACK 02 AUDIO\n"
                     "    INDEX 00 00:01:00\n"
                     "    INDEX 01 00:03:00\n"
                     "  TRACK 03 AUDIO\n"
                     "    INDEX 01 00:04:00\n"},
        {"disc.toc", "CD_DA\n"
                     "CATALOG \"0724384960650\"\n"
                     "TRACK AUDIO\n"
                     "COPY\n"
                     "PRE_EMPHASIS\n"
                     "ISRC \"FRZ039800212\"\n"
                     "FILE \"%1\" 0 00:01:00\n"
                     "TRACK AUDIO\n"
                     "FILE \"%1\" 00:01:00 00:03:00\n"
                     "START 00:02:00\n"
                     "TRACK AUDIO\n"
                     "FILE \"%1\" 00:04:00 00:01:00\n"},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(TestFiles::Write(dir.filePath("disc.bin"), QByteArray(375 * 2352, '\0')));
    for (const auto& image : images) {
        SCOPED_TRACE(image.name);
        const QString path = dir.filePath(image.name);
        const QString text = QString::fromLatin1(image.text).replace("%1", dir.filePath("disc.bin"));
        ASSERT_TRUE(TestFiles::Write(path, text.toUtf8()));
        CdioAudioDevice device;
        const DiscToc toc = DiscToc::Read(device, path);
        ASSERT_EQ(toc.Tracks().size(), 3);
        const TocTrack& first = toc.Tracks().at(0);
        EXPECT_TRUE(first.preEmphasis);
        EXPECT_TRUE(first.copyPermitted);
        EXPECT_EQ(first.isrc, "FRZ039800212");
        EXPECT_EQ(first.pregap, -1);
        const TocTrack& second = toc.Tracks().at(1);
        EXPECT_FALSE(second.preEmphasis || second.copyPermitted);
        EXPECT_EQ(second.pregap, 75);
        EXPECT_EQ(second.start, 225);
        EXPECT_EQ(toc.Tracks().at(2).start, 300);
        EXPECT_EQ(toc.LeadOut(), 375);
        EXPECT_EQ(toc.Mcn(), "0724384960650");
    }
}

// libcdio keeps no index point past 01: they come from the sheet itself.
TEST(DiscToc, IndexPointsOfACueSheet)
{
    QTemporaryDir dir;
    ASSERT_TRUE(TestFiles::Write(dir.filePath("disc.bin"), QByteArray(1500 * 2352, '\0')));
    ASSERT_TRUE(TestFiles::Write(dir.filePath("disc.cue"), "FILE \"disc.bin\" BINARY\n"
                                                           "  TRACK 01 AUDIO\n"
                                                           "    INDEX 01 00:00:00\n"
                                                           "    INDEX 02 00:03:00\n"
                                                           "  TRACK 02 AUDIO\n"
                                                           "    INDEX 00 00:04:00\n"
                                                           "    INDEX 01 00:06:00\n"
                                                           "    INDEX 02 00:06:01\n"
                                                           "    INDEX 03 00:08:74\n"
                                                           "  TRACK 03 AUDIO\n"
                                                           "    INDEX 01 00:10:00\n"
                                                           "  TRACK 04 AUDIO\n"
                                                           "    INDEX 01 00:15:00\n"
                                                           "    INDEX 02 00:16:00\n"));
    CdioAudioDevice device;
    const DiscToc toc = DiscToc::Read(device, dir.filePath("disc.cue"));
    ASSERT_EQ(toc.Tracks().size(), 4);
    const QList<QList<int32_t>> indexes{{225}, {451, 674}, {}, {1200}};
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(toc.Tracks().at(k).indexes, indexes.at(k)) << "track " << k + 1;
}
