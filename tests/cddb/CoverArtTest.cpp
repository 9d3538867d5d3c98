#include "ServerFixture.h"
#include "app/AlbumCover.h"
#include "cddb/AlbumRelease.h"
#include "cddb/CoverArtArchive.h"
#include "cddb/ui/TChooseAlbum.h"
#include "cddb/ui/TPreferences_Form.h"
#include "disc/AlbumSheet.h"
#include "platform/CalvenorError.h"
#include "platform/Settings.h"
#include "platform/ui/AppForms.h"
#include "support/DiscImage.h"
#include "support/FakeDialogService.h"
#include "support/RipTool.h"
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QLineEdit>
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
    // Runs the event loop until done() holds, 10 s at most.
    template <typename Done> static void waitUntil(Done done)
    {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    static void waitFor(const AlbumCover& cover)
    {
        waitUntil([&] { return !cover.Fetching(); });
    }
    qsizetype coverRequests() const
    {
        const QList<QJsonObject> all = requests();
        return std::count_if(all.begin(), all.end(), [](const QJsonObject& request) {
            return request["target"].toString().startsWith("/release/");
        });
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

// The album choice shows the selected release's cover once fetched, each
// fetched once; a CDDB disc has none, and a choice of CDDB discs alone keeps
// the narrow window.
TEST_F(CoverArt, TheAlbumChoiceShowsTheSelectedReleasesCover)
{
    AppForms forms;
    TChooseAlbum chooser(forms, services);
    chooser.SetCoverServer(serverUrl());
    chooser.SetChoices({"rock / Some Band / First Album"}, {""});
    EXPECT_EQ(chooser.width(), 250);
    EXPECT_FALSE(chooser.Pochette->isVisibleTo(&chooser));

    chooser.SetChoices({"Mira – Nuits (2001, FR)", "rock / Some Band / First Album", "Mira – Jours"},
                       {"front-jpeg", "", "front-png"});
    EXPECT_GT(chooser.width(), 250);
    EXPECT_TRUE(chooser.Pochette->isVisibleTo(&chooser));
    const auto shown = [&] { return !chooser.Pochette->pixmap().isNull(); };
    waitUntil(shown);
    EXPECT_TRUE(shown());
    chooser.Liste->setCurrentIndex(1);
    EXPECT_FALSE(shown());
    chooser.Liste->setCurrentIndex(2);
    waitUntil(shown);
    EXPECT_TRUE(shown());
    chooser.Liste->setCurrentIndex(0);
    EXPECT_TRUE(shown());
    EXPECT_EQ(coverRequests(), 2);
}

// calvenor-rip embeds and saves the cover of the release --musicbrainz chose,
// from --cover-server.
TEST_F(CoverArt, TheRipToolTakesTheCoverOfTheReleaseItChose)
{
    QTemporaryDir dir;
    const QString cue = DiscImage().AddAudioTrack(DiscImage::SinePcm(75, 440)).WriteTo(dir.path());
    const RipTool ids = RipTool::Run({"e:", "--drive", "e=" + cue, "--discid"});
    const QString discId = ids.out.section("musicbrainz=", 1).section('\n', 0, 0);
    ASSERT_FALSE(discId.isEmpty());
    QDir(dir.path()).mkpath("records/musicbrainz");
    QDir(dir.path()).mkpath("records/coverart");
    ASSERT_TRUE(QFile::copy(Covers + "front-jpeg.jpg", dir.filePath("records/coverart/rel-1.jpg")));
    QFile json(dir.filePath("records/musicbrainz/" + discId + ".json"));
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(QStringLiteral(R"({"releases": [{"id": "rel-1", "title": "B", "artist-credit": [{"name": "A"}],
        "media": [{"position": 1, "discs": [{"id": "%1"}], "tracks": [{"position": 1, "title": "Un"}]}]}]})")
                   .arg(discId)
                   .toUtf8());
    json.close();
    CddbServer local(dir.filePath("records"));
    const QString address = QStringLiteral("http://127.0.0.1:%1").arg(local.Port());
    const QString out = dir.filePath("out");
    const RipTool run = RipTool::Run({"e:", "--drive", "e=" + cue, "--tracks", "1", "--dir", out, "--flac",
                                      "--musicbrainz", "--mb-server", address, "--cover-server", address, "--email",
                                      "jean.dupont@exemple.fr"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile cover(out + "/cover.jpg");
    ASSERT_TRUE(cover.open(QIODevice::ReadOnly));
    EXPECT_EQ(cover.readAll(), fileBytes("front-jpeg.jpg"));
    const QStringList logs = QDir(out).entryList({"*Rapport.log"});
    ASSERT_EQ(logs.size(), 1);
    QFile log(out + "/" + logs.first());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("Pochette : Cover Art Archive\n"));
}

TEST(CoverPreference, EachChoiceOfThePreferencesIsKept)
{
    const std::pair<const char*, Settings::CoverUse> choices[] = {
        {"intégrer aux fichiers", Settings::CoverUse::Embed},
        {"enregistrer cover.jpg", Settings::CoverUse::SaveFile},
        {"les deux", Settings::CoverUse::Both},
        {"aucune", Settings::CoverUse::None},
    };
    QTemporaryDir dir;
    Settings settings(dir.filePath("Calvenor.conf"));
    FakeDialogService dialogs;
    AppForms forms;
    PlatformServices services;
    services.settings = &settings;
    services.dialogs = &dialogs;
    TPreferences_Form preferences(forms, services);
    preferences.ModeleNom->setText(settings.FileNameTemplate());
    for (const auto& [text, use] : choices) {
        preferences.Pochette->setCurrentText(QString::fromUtf8(text));
        preferences.EnregistrerClick();
        EXPECT_EQ(Settings(settings.FileName()).Cover(), use) << text;
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}
