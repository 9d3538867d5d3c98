#include "app/ui/CoverButton.h"
#include "support/MainFormFixture.h"
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>

namespace {
const QString Covers = QStringLiteral(CALVENOR_SOURCE_DIR "/tests/cddb/records/coverart/");

// The main window's cover picture: a click asks for a file, a drop on the
// window gives one; what cannot be read is told in French.
class CoverPicture : public MainFormFixture {};
} // namespace

TEST_F(CoverPicture, AChosenOrDroppedImageBecomesTheAlbumsCover)
{
    TMain_Form& main = open();
    EXPECT_EQ(main.CoverPicture->text(), "Pas de\npochette");
    shell.choices = {Covers + "front-jpeg.jpg"};
    main.CoverPicture->click();
    EXPECT_EQ(shell.fileTitles, QStringList{"Choisir une pochette…"});
    QFile jpeg(Covers + "front-jpeg.jpg");
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    EXPECT_EQ(main.Sheet().AlbumValues().frontCover, jpeg.readAll());
    EXPECT_FALSE(main.CoverPicture->icon().isNull());

    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(Covers + "broken.jpg")});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    // As the window's filter hears it: outside a real drag, Qt delivers no drop.
    QObject& filter = main.Cover();
    EXPECT_TRUE(filter.eventFilter(&main, &drop));
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown.first().text,
              "Le fichier « " + Covers + "broken.jpg" + " » ne peut pas servir de pochette (image illisible).");
    EXPECT_EQ(main.Sheet().AlbumValues().frontCoverMime, "image/jpeg") << "the cover stays";

    main.Sheet().Clear();
    EXPECT_TRUE(main.CoverPicture->icon().isNull());

    main.Sheet().SetFrontCover(CoverImage::Failed("le serveur ne répond plus"),
                               AlbumSheet::CoverOrigin::CoverArtArchive);
    EXPECT_EQ(main.CoverPicture->text(), "Pochette\nnon\nrécupérée");
    EXPECT_TRUE(main.CoverPicture->toolTip().startsWith("Pochette non récupérée (le serveur ne répond plus). "));
    main.Sheet().Clear();
    EXPECT_EQ(main.CoverPicture->text(), "Pas de\npochette");
}
