#include "ServerFixture.h"
#include "app/AlbumCover.h"
#include "cddb/AlbumRelease.h"
#include "cddb/CoverArtArchive.h"
#include "disc/AlbumSheet.h"
#include "platform/CalvenorError.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

namespace {
const QString Covers = QStringLiteral(CALVENOR_SOURCE_DIR "/tests/cddb/records/coverart/");

QByteArray fileBytes(const QString& name)
{
    QFile file(Covers + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The Cover Art Archive as the local server plays it: each release's
// front-500 redirects to its image, whatever that is.
class CoverArt : public ServerFixture {
protected:
    QString serverUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(server->Port()); }

    void albumIs(AlbumSheet& sheet, const QString& release)
    {
        AlbumSheet::Album album = sheet.AlbumValues();
        album.ids = {{AlbumRelease::MusicBrainzReleaseId, release}};
        sheet.SetAlbum(album);
    }
    // Runs the event loop until the fetch of cover has ended.
    static void waitFor(const AlbumCover& cover)
    {
        QElapsedTimer waited;
        waited.start();
        while (cover.Fetching() && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
};
} // namespace

TEST_F(CoverArt, AnImageOrNoCoverNeverAnError)
{
    struct Case {
        const char* release;
        const char* file; // the image expected, none when empty
        const char* mime;
    };
    const Case cases[] = {
        {"front-jpeg", "front-jpeg.jpg", "image/jpeg"},
        {"front-png", "front-png.png", "image/png"},
        {"broken", "", ""},
        {"no-such-release", "", ""},
        {"large", "", ""},
    };
    CoverArtArchive archive(http);
    archive.SetServer(serverUrl() + "/");
    for (const Case& c : cases) {
        const CoverImage cover = archive.FrontCover(c.release);
        EXPECT_EQ(cover.bytes, *c.file ? fileBytes(c.file) : QByteArray()) << c.release;
        EXPECT_EQ(cover.mime, c.mime) << c.release;
    }
    EXPECT_EQ(requests().first()["target"].toString(), "/release/front-jpeg/front-500");

    archive.SetServer(QStringLiteral("http://127.0.0.1:%1").arg(CddbServer::ClosedPort()));
    EXPECT_TRUE(archive.FrontCover("front-jpeg").IsEmpty());
    EXPECT_EQ(CoverArtArchive(http).FrontUrl("front-jpeg"), "https://coverartarchive.org/release/front-jpeg/front-500");
}

// The album becoming a MusicBrainz release fetches its cover off the
// window's thread; a file the user chose stays; a new disc has none.
TEST_F(CoverArt, TheAlbumSheetKeepsTheCoverOfItsRelease)
{
    AlbumSheet sheet;
    AlbumCover cover(sheet, &http);
    cover.SetServer(serverUrl());
    int changes = 0;
    QObject::connect(&sheet, &AlbumSheet::FrontCoverChanged, [&] { ++changes; });

    albumIs(sheet, "front-jpeg");
    EXPECT_TRUE(cover.Fetching());
    waitFor(cover);
    EXPECT_EQ(sheet.AlbumValues().frontCover, fileBytes("front-jpeg.jpg"));
    EXPECT_EQ(sheet.AlbumValues().frontCoverOrigin, AlbumSheet::CoverOrigin::CoverArtArchive);
    EXPECT_EQ(changes, 1);

    albumIs(sheet, "no-such-release");
    waitFor(cover);
    EXPECT_TRUE(sheet.AlbumValues().frontCover.isEmpty());

    cover.TakeFile(Covers + "front-png.png");
    albumIs(sheet, "front-jpeg");
    waitFor(cover);
    EXPECT_EQ(sheet.AlbumValues().frontCover, fileBytes("front-png.png"));
    EXPECT_EQ(sheet.AlbumValues().frontCoverMime, "image/png");

    sheet.Clear();
    EXPECT_TRUE(sheet.AlbumValues().frontCover.isEmpty());

    try {
        cover.TakeFile(Covers + "broken.jpg");
        ADD_FAILURE() << "a broken image was taken";
    } catch (const CalvenorError& e) {
        EXPECT_EQ(e.message(), "Le fichier « " + Covers + "broken.jpg"
                      + " » n'est pas une image JPEG ou PNG lisible (10 Mio au plus) : il ne peut pas servir de "
                        "pochette.");
    }
}
