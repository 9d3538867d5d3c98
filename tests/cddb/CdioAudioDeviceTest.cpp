#include "TestDiscs.h"
#include "cddb/TCDDBConnect.h"
#include "disc/DiscToc.h"
#include "platform/CalvenorError.h"
#include "platform/CdioAudioDevice.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Disc images read through the real libcdio.
class ImageDisc : public ::testing::Test {
protected:
    DiscToc read(const QString& cue) { return DiscToc::Read(device, cue); }

    QTemporaryDir dir;
    CdioAudioDevice device;
};

TEST_F(ImageDisc, StartsAndLengthsInSectorsUpToTheLeadOut)
{
    const DiscToc toc = read(TestDiscs::ThreeTracks(dir.path()));
    ASSERT_EQ(toc.Tracks().size(), 3);
    EXPECT_EQ(toc.FirstTrack(), 1);
    QList<int> starts, lengths;
    for (const TocTrack& t : toc.Tracks()) {
        starts << t.start;
        lengths << t.length;
    }
    EXPECT_EQ(starts, QList<int>({0, 300, 750}));
    EXPECT_EQ(lengths, QList<int>({300, 450, 600}));
    EXPECT_EQ(toc.LeadOut(), 1350);
}

TEST_F(ImageDisc, IdentifiersOfGeneratedImages)
{
    const DiscToc three = read(TestDiscs::ThreeTracks(dir.path()));
    EXPECT_EQ(three.CddbIdText(), "0b001203");
    EXPECT_EQ(TCDDBConnect::QueryCommand(three), "cddb+query+0b001203+3+150+450+900+20");
    // Data tracks count as tracks of the disc.
    EXPECT_EQ(read(TestDiscs::WithDataTrack(dir.path())).CddbIdText(), "09000c03");
    const DiscToc worked = read(TestDiscs::WorkedExample(dir.path()));
    EXPECT_EQ(worked.CddbIdText(), "0c01ac02");
    EXPECT_EQ(TCDDBConnect::QueryCommand(worked), "cddb+query+0c01ac02+2+150+14262+430");
}

TEST_F(ImageDisc, ImageWithoutItsBinIsReportedInFrench)
{
    const QString cue = TestDiscs::ThreeTracks(dir.path());
    QFile::remove(dir.filePath("three.bin"));
    try {
        device.Open(cue);
        FAIL() << "an image without its .bin was opened";
    } catch (const CalvenorError& e) {
        EXPECT_TRUE(e.message().startsWith("Impossible d'ouvrir l'image")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(dir.filePath("three.bin"))) << e.message().toStdString();
    }
}
// libcdio reads the cue's TITLE and PERFORMER lines as the disc's CD-Text,
// in UTF-8 or in Latin-1.
TEST_F(ImageDisc, CdTextOfTheAlbumAndOfEachTrack)
{
    struct Case {
        const char* name;
        QStringList titles, performers;
        bool hasText;
        bool latin1 = false;
    };
    const QList<Case> cases = {
        {"album and tracks", {"Trois Pièces", "Un", "Deux", "Trois"}, {"Trio", "", "Zoé", ""}, true},
        {"tracks only", {"", "Un"}, {}, true},
        {"none", {}, {}, false},
        {"Latin-1, accent last", {"Café", "Thé"}, {"Zoé"}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString cue = TestDiscs::ThreeTracks(dir.path(), c.titles, c.performers);
        if (c.latin1) {
            QFile file(cue);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            const QByteArray latin1 = QString::fromUtf8(file.readAll()).toLatin1();
            ASSERT_TRUE(file.resize(0) && file.seek(0) && file.write(latin1) == latin1.size());
        }
        const DiscToc toc = read(cue);
        EXPECT_EQ(toc.HasCdText(), c.hasText);
        EXPECT_EQ(toc.AlbumText().title, c.titles.value(0));
        EXPECT_EQ(toc.AlbumText().performer, c.performers.value(0));
        for (const TocTrack& track : toc.Tracks()) {
            EXPECT_EQ(track.text.title, c.titles.value(track.number));
            EXPECT_EQ(track.text.performer, c.performers.value(track.number));
        }
    }
}
} // namespace
