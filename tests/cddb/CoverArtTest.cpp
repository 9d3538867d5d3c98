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

// Every Qt message said while it lives, on this thread.
class QtMessages {
public:
    QtMessages() : m_previous(qInstallMessageHandler(keep)) { said().clear(); }
    ~QtMessages() { qInstallMessageHandler(m_previous); }
    QtMessages(const QtMessages&) = delete;
    QtMessages& operator=(const QtMessages&) = delete;
    QStringList texts() const { return said(); }

private:
    static QStringList& said()
    {
        static QStringList texts;
        return texts;
    }
    static void keep(QtMsgType, const QMessageLogContext&, const QString& text) { said() << text; }
    QtMessageHandler m_previous;
};

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

// A cover server that fails in any way gives no cover and says why in a few
// French words, soon (limits lowered here), and Qt says nothing in English
// meanwhile; a release without a cover (404) gives none and no reason.
TEST_F(CoverArt, AnImageOrNoCoverOrWhyNot)
{
    struct Case {
        const char* release;
        const char* file; // the image expected, none when empty
        const char* mime;
        const char* failure;
    };
    const Case cases[] = {
        {"front-jpeg", "front-jpeg.jpg", "image/jpeg", ""},
        {"front-png", "front-png.png", "image/png", ""},
        {"no-such-release", "", "", ""},
        {"broken", "", "", "image illisible"},
        {"large", "", "", "image trop lourde : plus de 1 Mio"},
        {"huge-body", "", "", "image trop lourde : plus de 1 Mio"},
        {"drip", "", "", "le serveur ne répond plus"},
        {"html", "", "", "pas une image JPEG ou PNG"},
        {"huge-dimensions", "", "", "image trop grande : 65500 × 65500 pixels"},
        {"loop", "", "", "trop de redirections"},
        {"http500", "", "", "erreur HTTP 500"},
    };
    CoverArtArchive archive(http);
    archive.SetServer(serverUrl() + "/");
    archive.SetLimits({1024 * 1024, 1024, 1});
    const QtMessages said;
    for (const Case& c : cases) {
        QElapsedTimer took;
        took.start();
        const CoverImage cover = archive.FrontCover(c.release);
        EXPECT_EQ(cover.bytes, *c.file ? fileBytes(c.file) : QByteArray()) << c.release;
        EXPECT_EQ(cover.mime, c.mime) << c.release;
        EXPECT_EQ(cover.failure, QString::fromUtf8(c.failure)) << c.release;
        EXPECT_LT(took.elapsed(), 5000) << c.release;
    }
    EXPECT_EQ(said.texts(), QStringList());
    EXPECT_EQ(requests().first()["target"].toString(), "/release/front-jpeg/front-500");

    archive.SetServer(QStringLiteral("http://127.0.0.1:%1").arg(CddbServer::ClosedPort()));
    EXPECT_EQ(archive.FrontCover("front-jpeg").failure, "serveur injoignable");
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

    albumIs(sheet, "http500");
    waitFor(cover);
    EXPECT_TRUE(sheet.AlbumValues().frontCover.isEmpty());
    EXPECT_EQ(sheet.AlbumValues().frontCoverFailure, "erreur HTTP 500");

    albumIs(sheet, "no-such-release");
    waitFor(cover);
    EXPECT_TRUE(sheet.AlbumValues().frontCover.isEmpty());
    EXPECT_EQ(sheet.AlbumValues().frontCoverFailure, "");

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
        EXPECT_EQ(e.message(),
                  "Le fichier « " + Covers + "broken.jpg" + " » ne peut pas servir de pochette (image illisible).");
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
// from --cover-server; one it could not fetch is told why, in its log and on
// the terminal, with no word of Qt's.
TEST_F(CoverArt, TheRipToolTakesTheCoverOfTheReleaseItChose)
{
    struct Case {
        const char* release;
        const char* file; // the release's image on the server
        const char* logLine;
        const char* told; // on the terminal
    };
    const Case cases[] = {
        {"1", "front-jpeg.jpg", "Pochette : Cover Art Archive\n", ""},
        {"2", "huge-dimensions.jpg", "Pochette : non récupérée (image trop grande : 65500 × 65500 pixels)\n",
         "Pochette : non récupérée (image trop grande : 65500 × 65500 pixels)\n"},
    };
    QTemporaryDir dir;
    const QString cue = DiscImage().AddAudioTrack(DiscImage::SinePcm(75, 440)).WriteTo(dir.path());
    const RipTool ids = RipTool::Run({"e:", "--drive", "e=" + cue, "--discid"});
    const QString discId = ids.out.section("musicbrainz=", 1).section('\n', 0, 0);
    ASSERT_FALSE(discId.isEmpty());
    QDir(dir.path()).mkpath("records/musicbrainz");
    QDir(dir.path()).mkpath("records/coverart");
    QString releases;
    for (const Case& c : cases) {
        ASSERT_TRUE(QFile::copy(Covers + c.file, dir.filePath("records/coverart/rel-%1.jpg").arg(c.release)));
        releases += QStringLiteral(R"(%1{"id": "rel-%2", "title": "B", "artist-credit": [{"name": "A"}], "media":
            [{"position": 1, "discs": [{"id": "%3"}], "tracks": [{"position": 1, "title": "Un"}]}]})")
                        .arg(QString(releases.isEmpty() ? "" : ", "), QString(c.release), discId);
    }
    QFile json(dir.filePath("records/musicbrainz/" + discId + ".json"));
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(QStringLiteral(R"({"releases": [%1]})").arg(releases).toUtf8());
    json.close();
    CddbServer local(dir.filePath("records"));
    const QString address = QStringLiteral("http://127.0.0.1:%1").arg(local.Port());
    for (const Case& c : cases) {
        const QString out = dir.filePath(QStringLiteral("out%1").arg(c.release));
        const RipTool run = RipTool::Run({"e:", "--drive", "e=" + cue, "--tracks", "1", "--dir", out, "--flac",
                                          "--musicbrainz", "--release", c.release, "--mb-server", address,
                                          "--cover-server", address, "--email", "jean.dupont@exemple.fr"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        QFile cover(out + "/cover.jpg");
        EXPECT_EQ(cover.open(QIODevice::ReadOnly) ? cover.readAll() : QByteArray(),
                  *c.told ? QByteArray() : fileBytes(c.file))
            << c.file;
        const QStringList logs = QDir(out).entryList({"*Rapport.log"});
        ASSERT_EQ(logs.size(), 1);
        QFile log(out + "/" + logs.first());
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        EXPECT_TRUE(log.readAll().contains(c.logLine)) << c.file;
        EXPECT_EQ(run.err.contains("Pochette"), *c.told != 0) << c.file;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.told))) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("QImage")) << run.err.toStdString();
    }
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
