#include "CddbServer.h"
#include "TestDiscs.h"
#include "support/RipTool.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// calvenor-rip on a generated image in drive e, against the test server with
// records written for that image.
class CddbCommandLine : public ::testing::Test {
protected:
    void SetUp() override { cue = TestDiscs::ThreeTracks(dir.path()); }
    void addRecord(const QString& category, const QByteArray& text)
    {
        QDir(dir.path()).mkpath("records/" + category);
        QFile f(dir.filePath("records/" + category + "/0b001203"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    RipTool lookUp()
    {
        QDir(dir.path()).mkpath("records");
        CddbServer server(dir.filePath("records"));
        return RipTool::Run(
            {"e:", "--drive", "e=" + cue, "--cddb", "--server", server.Url(), "--email", "jean.dupont@exemple.fr"});
    }

    QTemporaryDir dir;
    QString cue;
};

// Each identifier by its public algorithm, worked apart from the program.
TEST_F(CddbCommandLine, DiscIdPrintsEveryIdentifier)
{
    const RipTool run = RipTool::Run({"e:", "--drive", "e=" + cue, "--discid"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "cddb=0b001203\nmusicbrainz=r76jEjhsNSTmDPF3tXjjEvPmnMk-\n"
                       "accuraterip=003-00000960-0000203b-0b001203\nctdb=Iuqahn3GnAaYygIWBDMLsW2wzIs-\n");
}

TEST_F(CddbCommandLine, CdTextIsPrintedLikeAnAlbumFound)
{
    struct Case {
        const char* name;
        QStringList titles, performers;
        int exitCode;
        QString out;
    };
    const QList<Case> cases = {
        {"CD-Text", {"Trois Pièces", "Un", "Deux", "Trois"}, {"Trio"}, 0,
         "artist=Trio\nalbum=Trois Pièces\ntitle=Un\ntitle=Deux\ntitle=Trois\n"},
        {"none", {}, {}, 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cue = TestDiscs::ThreeTracks(dir.path(), c.titles, c.performers);
        const RipTool run = RipTool::Run({"e:", "--drive", "e=" + cue, "--cd-text"});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err.startsWith("Ce disque ne porte pas de CD-Text"), c.exitCode != 0) << run.err.toStdString();
    }
}

TEST_F(CddbCommandLine, OneMatchPrintsTheRecord)
{
    addRecord("rock", "DTITLE=Trio / Trois Pièces\nTTITLE0=Un\nTTITLE1=Deux \nTTITLE2=Trois\n");
    const RipTool run = lookUp();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "artist=Trio\nalbum=Trois Pièces\ncategory=rock\ntitle=Un\ntitle=Deux \ntitle=Trois\n");
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST_F(CddbCommandLine, SeveralMatchesGoToStandardErrorAndTheFirstIsRead)
{
    addRecord("rock", "DTITLE=Trio / Trois Pieces\nTTITLE0=Un\n");
    addRecord("jazz", "DTITLE=Autre / Disque\nTTITLE0=A\n");
    const RipTool run = lookUp();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "jazz 0b001203 Autre / Disque\nrock 0b001203 Trio / Trois Pieces\n");
    // One title per track of the disc: the record names the first only.
    EXPECT_EQ(run.out, "artist=Autre\nalbum=Disque\ncategory=jazz\ntitle=A\ntitle=\ntitle=\n");

    CddbServer server(dir.filePath("records"));
    const RipTool third = RipTool::Run({"e:", "--drive", "e=" + cue, "--cddb", "--server", server.Url(), "--email",
                                        "jean.dupont@exemple.fr", "--release", "3"});
    EXPECT_EQ(third.exitCode, 1);
    EXPECT_TRUE(third.err.endsWith("--release 3 : la recherche n'a trouvé que 2 album(s).\n")) << third.err.toStdString();
}

// The second match names and tags the ripped track; a tag option given too wins.
TEST_F(CddbCommandLine, RippedTracksAreNamedAndTaggedAfterTheChosenMatch)
{
    addRecord("rock", "DTITLE=Trio / Trois Pieces\nDYEAR=1998\nTTITLE0=Un\nTTITLE1=Deux\nTTITLE2=Trois\n");
    addRecord("jazz", "DTITLE=Autre / Disque\nTTITLE0=A\n");
    CddbServer server(dir.filePath("records"));
    const QString out = dir.filePath("rip");
    const RipTool run = RipTool::Run({"e:", "--drive", "e=" + cue, "--tracks", "2", "--dir", out, "--cddb", "--server",
                                      server.Url(), "--email", "jean.dupont@exemple.fr", "--release", "2", "--year",
                                      "2001", "--no-accuraterip", "--no-ctdb"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith("jazz 0b001203 Autre / Disque\nrock 0b001203 Trio / Trois Pieces\n"))
        << run.err.toStdString();
    const QString file = out + "/02 - Trois Pieces - Trio - Deux.wav";
    ASSERT_TRUE(run.out.startsWith(file + "\n")) << run.out.toStdString();
    EXPECT_EQ(RipTool::Run({"--read-tag", file}).out,
              "title=Deux\nartist=Trio\nalbum=Trois Pieces\nyear=2001\ncomment=\ngenre=Rock\ntrack=2\n");
}

TEST_F(CddbCommandLine, ControlCharactersFromTheServerReachTheTerminalEscaped)
{
    addRecord("rock", "DTITLE=Trio\x1b]0;titre\x07 / Album\xc2\x9b" "2J\nTTITLE0=Un\x1b[31m\nTTITLE1=Deux\nTTITLE2=Trois\n");
    const RipTool run = lookUp();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "artist=Trio\\x1b]0;titre\nalbum=Album\\x9b2J\ncategory=rock\ntitle=Un\\x1b[31m\ntitle=Deux\n"
                       "title=Trois\n");
}

TEST_F(CddbCommandLine, AnAnswerStartingWithAnEscapeReachesTheErrorStreamEscaped)
{
    QDir(dir.path()).mkpath("records");
    QFile behaviours(dir.filePath("records/behaviours.txt"));
    ASSERT_TRUE(behaviours.open(QIODevice::WriteOnly));
    behaviours.write("0b001203 escape\n");
    behaviours.close();
    const RipTool run = lookUp();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.toStdString(), "'\\x1b[2' n'est pas une valeur entière correcte\n");
}

TEST_F(CddbCommandLine, NoMatchIsAFailureWithTheServersAnswer)
{
    const RipTool run = lookUp();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err, "Réponse du serveur : 202 No match for disc ID 0b001203.\n");
}
TEST_F(CddbCommandLine, WithoutAnAddressTheServerIsNotAsked)
{
    QDir(dir.path()).mkpath("records");
    CddbServer server(dir.filePath("records"));
    const RipTool run = RipTool::Run({"e:", "--drive", "e=" + cue, "--cddb", "--server", server.Url()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Le serveur demande une adresse électronique : donnez-la avec --email ADRESSE, ou dans les "
                       "préférences de Calvenor.\n");
    EXPECT_TRUE(server.Requests().isEmpty());
}

TEST_F(CddbCommandLine, MusicBrainzPrintsTheFirstRelease)
{
    QDir(dir.path()).mkpath("records/musicbrainz");
    QFile json(dir.filePath("records/musicbrainz/r76jEjhsNSTmDPF3tXjjEvPmnMk-.json"));
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(R"({"releases": [
        {"title": "Trois Pièces", "date": "1998-04", "country": "FR",
         "artist-credit": [{"name": "Trio", "joinphrase": " et "}, {"name": "Zoé", "joinphrase": ""}],
         "media": [{"position": 1, "discs": [{"id": "r76jEjhsNSTmDPF3tXjjEvPmnMk-"}],
                    "tracks": [{"position": 3, "title": "Trois"}, {"position": 1, "title": "Un"},
                               {"position": 2, "title": "Deux"}]}]},
        {"title": "Autre", "artist-credit": [{"name": "X"}], "media": []}]})");
    json.close();
    CddbServer server(dir.filePath("records"));
    const QString address = QStringLiteral("http://127.0.0.1:%1").arg(server.Port());
    const RipTool run = RipTool::Run({"e:", "--drive", "e=" + cue, "--musicbrainz", "--mb-server", address, "--email",
                                      "jean.dupont@exemple.fr"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "artist=Trio et Zoé\nalbum=Trois Pièces\ntitle=Un\ntitle=Deux\ntitle=Trois\n");
    EXPECT_EQ(run.err, "Trio et Zoé / Trois Pièces – 1998 – FR\nX / Autre\n");
}
} // namespace
