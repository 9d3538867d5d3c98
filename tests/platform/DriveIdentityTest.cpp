#include "platform/DriveIdentity.h"
#include "platform/Settings.h"
#include "support/FakeDrives.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A drive is told by its model, an image by its file; the read offset
// follows: the model's or the old one, an image's own or 0.
TEST(DriveIdentity, TheLogTheDriveBoxAndTheReadOffsetOfEachKindOfSource)
{
    QTemporaryDir dir;
    Settings settings(dir.filePath("Calvenor.conf"));
    settings.SetReadOffset(667);
    settings.SetReadOffset("HL-DT-ST DVDRAM GH24NSD1", 6);
    FakeDrives drives;
    drives.sources = {{'d', "/dev/sr0"}, {'e', "/dev/sr1"}, {'f', "/dev/sr2"}, {'x', "/musique/album.cue"}};
    drives.models = {{'d', {"HL-DT-ST", "DVDRAM GH24NSD1", "LG00"}}, {'e', {"TSSTcorp", "CDDVDW SH-224DB", "SB00"}}};
    const struct {
        QChar letter;
        QString log, box;
        int offset;
    } cases[] = {
        {'d', "HL-DT-ST DVDRAM GH24NSD1 LG00", "HL-DT-ST DVDRAM GH24NSD1", 6},
        {'e', "TSSTcorp CDDVDW SH-224DB SB00", "TSSTcorp CDDVDW SH-224DB", 667},
        {'f', "modèle inconnu", "", 667},
        {'x', "image album.cue", "album.cue", 0},
    };
    for (const auto& c : cases) {
        const DriveIdentity drive = DriveIdentity::Of(drives, c.letter);
        EXPECT_EQ(drive.LogText(), c.log);
        EXPECT_EQ(drive.ShortText(), c.box);
        EXPECT_EQ(drive.ReadOffset(settings), c.offset) << c.log.toStdString();
    }
    DriveIdentity::Of(drives, 'x').SaveReadOffset(settings, -40);
    EXPECT_EQ(DriveIdentity::Of(drives, 'x').ReadOffset(settings), -40);
    EXPECT_EQ(DriveIdentity::Of(drives, 'f').ReadOffset(settings), 667) << "the image's offset is its own";
}
