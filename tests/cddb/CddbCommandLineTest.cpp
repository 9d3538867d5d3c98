#include "CddbServer.h"
#include "TestDiscs.h"
#include "support/DiscImage.h"
#include "support/Mutagen.h"
#include "support/RipTool.h"
#include <QDir>
#include <QFile>
#include <QJsonObject>
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

// No lookup asked: the disc's own names, as the window shows them at insertion.
TEST_F(CddbCommandLine, ARipWithoutLookupIsNamedAndTaggedFromCdText)
{
    cue = TestDiscs::ThreeTracks(dir.path(), {"Trois Pièces", "Un", "Deux", "Trois"}, {"Trio"});
    const RipTool run = RipTool::Run({"e:", "--drive", "e=" + cue, "--tracks", "2", "--dir", dir.filePath("out")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString file = run.out.trimmed().section('\n', -1); // the tracks end the output
    EXPECT_TRUE(file.endsWith("/02 - Trois Pièces - Trio - Deux.wav")) << file.toStdString();
    const RipTool tags = RipTool::Run({"--read-tag", file});
    EXPECT_TRUE(tags.out.startsWith("title=Deux\nartist=Trio\nalbum=Trois Pièces\n")) << tags.out.toStdString();
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
    EXPECT_EQ(run.err, "--release 1 : jazz 0b001203 Autre / Disque\n--release 2 : rock 0b001203 Trio / Trois Pieces\n");
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
    EXPECT_TRUE(run.err.startsWith("--release 1 : jazz 0b001203 Autre / Disque\n"
                                   "--release 2 : rock 0b001203 Trio / Trois Pieces\n"))
        << run.err.toStdString();
    const QString file = out + "/02 - Trois Pieces - Trio - Deux.wav";
    ASSERT_TRUE(run.out.endsWith("\n" + file + "\n")) << run.out.toStdString();
    EXPECT_EQ(RipTool::Run({"--read-tag", file}).out,
              "title=Deux\nartist=Trio\nalbum=Trois Pieces\nyear=2001\ncomment=\ngenre=Rock\ntrack=2\n");
}

// The genre a record names at protocol level 6 tags the files; without
// one, the category does (misc is no ID3v1 genre: Other).
TEST_F(CddbCommandLine, TheRecordsGenreElseItsCategoryTagsTheTracks)
{
    const struct {
        const char* category;
        QByteArray record;
        const char* genre;
    } cases[] = {
        {"misc", "DTITLE=Trio / Chansons\nDGENRE=Chanson\nTTITLE0=Un\n", "Chanson"},
        {"jazz", "DTITLE=Trio / Chansons\nDGENRE= \nTTITLE0=Un\n", "Jazz"},
        {"misc", "DTITLE=Trio / Chansons\nTTITLE0=Un\n", "Other"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.genre);
        QDir(dir.filePath("records")).removeRecursively();
        addRecord(c.category, c.record);
        CddbServer server(dir.filePath("records"));
        const RipTool run = RipTool::Run({"e:", "--drive", "e=" + cue, "--tracks", "1", "--dir", dir.filePath("rip"),
                                          "--cddb", "--server", server.Url(), "--email", "jean.dupont@exemple.fr",
                                          "--overwrite", "--no-accuraterip", "--no-ctdb"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QString file = run.out.trimmed().section('\n', -1);
        EXPECT_TRUE(RipTool::Run({"--read-tag", file}).out.contains(QString("\ngenre=%1\n").arg(c.genre)));
    }
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
    // No address given nor saved: the program's home page is the contact.
    const RipTool run = RipTool::Run({"e:", "--drive", "e=" + cue, "--musicbrainz", "--mb-server", address});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "artist=Trio et Zoé\nalbum=Trois Pièces\ntitle=Un\ntitle=Deux\ntitle=Trois\n");
    EXPECT_EQ(run.err, "--release 1 : Trio et Zoé / Trois Pièces – 1998 – FR\n--release 2 : X / Autre\n");
    ASSERT_EQ(server.Requests().size(), 1);
    EXPECT_EQ(server.Requests().first().value("headers").toObject().value("User-Agent").toString(),
              "Calvenor/1.2.0 ( https://calvenor.example )");
}

// Another reader, mutagen, lists every tag of a file by the names MusicBrainz's
// tagger writes: ID3v2 frame keys ("TXXX:...", "UFID:owner"), Vorbis names.
const char* TagListScript = R"(
import json, sys, mutagen
tags = mutagen.File(sys.argv[1]).tags
out = {}
for key, value in tags.items():
    if key.startswith('UFID:'):
        out[key] = value.data.decode()
    elif hasattr(value, 'text'):
        out[key] = '; '.join(str(text) for text in value.text)
    else:
        out[key.upper()] = '; '.join(value)
print(json.dumps(out, ensure_ascii=False))
)";


// Track 1 of disc 2 of a compilation, as records/musicbrainz describes it,
// with the ISRC the disc gives.
TEST_F(CddbCommandLine, RippedFilesCarryTheAlbumsIdentity)
{
    cue = DiscImage()
              .AddAudioTrack(DiscImage::SinePcm(300, 440.0))
              .WithIsrc("FRZ039800212")
              .AddAudioTrack(DiscImage::SinePcm(450, 660.0))
              .AddAudioTrack(DiscImage::SinePcm(600, 880.0))
              .WriteTo(dir.path(), "isrc");
    const QString discId = "r76jEjhsNSTmDPF3tXjjEvPmnMk-";
    QDir(dir.path()).mkpath("records/musicbrainz");
    ASSERT_TRUE(QFile::copy(CALVENOR_SOURCE_DIR "/tests/cddb/records/musicbrainz/" + discId + ".json",
                            dir.filePath("records/musicbrainz/" + discId + ".json")));
    CddbServer server(dir.filePath("records"));
    const QString address = QStringLiteral("http://127.0.0.1:%1").arg(server.Port());
    const QString release = "d8e389ea-acd1-4ae5-8bc9-732e4c77b3e8", group = "245fd45b-81d9-4a85-812d-ff0bc4c60fe7",
                  various = "89ad4ac3-39f7-470e-963a-56509c546377", mira = "4d541900-37cb-4087-80bd-796ef69f7565",
                  theo = "6c3faa89-0aa0-4367-8e8b-868eaa74e59a",
                  track = "9ee524db-a246-424b-b150-0ae6e7ac1aab", recording = "a59f6aed-f99d-442c-9f41-516ace3a38e6";
    const struct {
        const char* format;
        QJsonObject expected;
    } cases[] = {
        {"--mp3",
         {{"TIT2", "L’aube"}, {"TPE1", "Mira feat. Théo Lune"}, {"TPE2", "Various Artists"},
          {"TALB", "Nuits blanches"}, {"TDRC", "2004-11-15"}, {"TRCK", "1/3"}, {"TPOS", "2/2"}, {"TCMP", "1"},
          {"TPUB", "Disques Lune"}, {"TXXX:CATALOGNUMBER", "982 564-1"}, {"TXXX:MusicBrainz Album Id", release},
          {"TXXX:MusicBrainz Release Group Id", group}, {"TXXX:MusicBrainz Album Artist Id", various},
          {"TXXX:MusicBrainz Artist Id", mira + "; " + theo}, {"TXXX:MusicBrainz Release Track Id", track},
          {"UFID:http://musicbrainz.org", recording}, {"TSRC", "FRZ039800212"}}},
        {"--flac",
         {{"TITLE", "L’aube"}, {"ARTIST", "Mira feat. Théo Lune"}, {"ALBUMARTIST", "Various Artists"},
          {"ALBUM", "Nuits blanches"}, {"DATE", "2004-11-15"}, {"TRACKNUMBER", "1"}, {"TRACKTOTAL", "3"},
          {"DISCNUMBER", "2"}, {"DISCTOTAL", "2"}, {"TOTALDISCS", "2"}, {"COMPILATION", "1"},
          {"LABEL", "Disques Lune"}, {"CATALOGNUMBER", "982 564-1"}, {"MUSICBRAINZ_ALBUMID", release},
          {"MUSICBRAINZ_RELEASEGROUPID", group}, {"MUSICBRAINZ_ALBUMARTISTID", various},
          {"MUSICBRAINZ_ARTISTID", mira + "; " + theo}, {"MUSICBRAINZ_RELEASETRACKID", track},
          {"MUSICBRAINZ_TRACKID", recording}, {"ISRC", "FRZ039800212"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        const QString out = dir.filePath(QString::fromLatin1(c.format).mid(2));
        const RipTool run = RipTool::Run({"e:", "--drive", "e=" + cue, "--tracks", "1-3", "--dir", out, c.format,
                                          "--musicbrainz", "--mb-server", address});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QString first = run.out.section('\n', -4, -4);
        const QJsonObject tags = Mutagen::Run(TagListScript, first);
        ASSERT_FALSE(tags.contains("failure")) << run.out.toStdString() << tags.value("failure").toString().toStdString();
        for (auto it = c.expected.begin(); it != c.expected.end(); ++it)
            EXPECT_EQ(tags.value(it.key()).toString(), it.value().toString()) << it.key().toStdString();
        // Our own reader finds them again.
        EXPECT_TRUE(RipTool::Run({"--read-tag", first})
                        .out.endsWith("track=1\ntracktotal=3\nalbumartist=Various Artists\ndisc=2\ndisctotal=2\n"
                                      "compilation=1\nlabel=Disques Lune\ncatalognumber=982 564-1\nisrc=FRZ039800212\n"
                                      "musicbrainz_albumid="
                                      + release + "\nmusicbrainz_releasegroupid=" + group
                                      + "\nmusicbrainz_albumartistid=" + various + "\nmusicbrainz_artistid=" + mira + "\nmusicbrainz_artistid=" + theo
                                      + "\nmusicbrainz_releasetrackid=" + track + "\nmusicbrainz_trackid="
                                      + recording + "\n"));
    }
}
} // namespace
