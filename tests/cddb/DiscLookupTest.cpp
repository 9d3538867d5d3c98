#include "CddbAnswers.h"
#include "cddb/DiscLookup.h"
#include "cddb/IReleaseChooser.h"
#include "disc/AlbumSheet.h"
#include "support/FakeHttpClient.h"
#include <QFile>
#include <tuple>
#include <gtest/gtest.h>

namespace {
using Outcome = DiscLookup::Outcome;
using Source = DiscLookup::Source;
const QString WorkedExampleId = QStringLiteral("g0xMXjKMt8aCFXrW9aedO0gMeoE-");

// Answers with a position given by the test and keeps what it was offered.
class ScriptedChooser : public IReleaseChooser {
public:
    int Choose(const QList<AlbumRelease>& candidates, bool isUncertain) override
    {
        for (const AlbumRelease& candidate : candidates)
            offered << candidate.ChoiceLine();
        uncertain = isUncertain;
        ++asked;
        return answer;
    }
    int answer = 0;
    int asked = 0;
    bool uncertain = false;
    QStringList offered;
};

PlatformServices over(IHttpClient& http)
{
    PlatformServices services;
    services.http = &http;
    return services;
}

// The worked example of the CDDB documents: track 2 at 03:10:12, four
// minutes long. CDDB and MusicBrainz are scripted; CDDB first.
class DiscLookupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        options.email = QStringLiteral("jean.dupont@exemple.fr");
        options.cddbServer = QStringLiteral("http://cddb.test/~cddb");
        http.answers["cddb query"] = CddbAnswers::Exact;
        http.answers["cddb read rock 0c01ac02"] =
            CddbAnswers::Record("rock", "Some Band / First Album", {"Intro", "Outro"});
        http.answers["cddb read jazz 0c01ac02"] =
            CddbAnswers::Record("jazz", "Other Band / Other Album", {"Blue"}, "Chanson");
    }
    static DiscToc workedExample()
    {
        QList<TocTrack> tracks;
        for (const auto& [number, start, length] : {std::tuple{1, 0, 14112}, std::tuple{2, 14112, 18001}}) {
            TocTrack track;
            track.number = number;
            track.start = start;
            track.length = length;
            tracks << track;
        }
        return DiscToc(tracks, 32113);
    }
    void knownToMusicBrainz()
    {
        QFile json(CALVENOR_SOURCE_DIR "/tests/cddb/records/musicbrainz/" + WorkedExampleId + ".json");
        ASSERT_TRUE(json.open(QIODevice::ReadOnly));
        http.musicBrainz[WorkedExampleId] = json.readAll();
    }
    Outcome find() { return lookup.Find(workedExample(), options, chooser); }
    QStringList failures() const
    {
        QStringList texts;
        for (const DiscLookup::Failure& failure : lookup.Failures())
            texts << failure.text;
        return texts;
    }

    FakeHttpClient http;
    PlatformServices services = over(http);
    DiscLookup lookup{services};
    DiscLookup::Options options;
    ScriptedChooser chooser;
};

TEST_F(DiscLookupTest, WhatTheSourcesGiveAndWhatIsRead)
{
    struct Case {
        const char* name;
        QByteArray query;
        bool musicBrainzFirst;
        int choice;
        QStringList commands;
        int asked;
        bool uncertain;
        QString source, artist, album, year, genre, id, category;
    };
    const QString query = QStringLiteral("cddb query 0c01ac02 2 150 14262 430");
    const QByteArray inexact = QByteArray(CddbAnswers::TwoMatches).replace("210 Found exact", "211 Found inexact");
    const QList<Case> cases = {
        {"one exact match", CddbAnswers::Exact, false, 0, {query, "cddb read rock 0c01ac02 "}, 0, false, "CDDB",
         "Some Band", "First Album", "", "rock", "0c01ac02", "rock"},
        // The record's own genre, at protocol level 6, beside its category.
        {"exact matches", CddbAnswers::TwoMatches, false, 1, {query, "cddb read jazz 0c01ac02 "}, 1, false, "CDDB",
         "Other Band", "Other Album", "", "Chanson", "0c01ac02", "jazz"},
        {"inexact matches", inexact, false, 0, {query, "cddb read rock 0c01ac02 "}, 1, true, "CDDB", "Some Band",
         "First Album", "", "rock", "0c01ac02", "rock"},
        {"no CDDB record", CddbAnswers::NoMatch, false, 1, {query}, 1, false, "MusicBrainz", "Some Band",
         "First Album (remaster)", "2011", "", "rel-2", ""},
        {"MusicBrainz first", CddbAnswers::Exact, true, 0, {}, 1, false, "MusicBrainz", "Zoé & les Îles feat. Œdipe",
         "Premier Album", "2001", "", "rel-1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        knownToMusicBrainz();
        http.answers["cddb query"] = c.query;
        http.commands.clear();
        options.order = c.musicBrainzFirst ? QList<Source>{Source::MusicBrainz, Source::Cddb}
                                           : QList<Source>{Source::Cddb, Source::MusicBrainz};
        chooser = ScriptedChooser();
        chooser.answer = c.choice;
        ASSERT_EQ(find(), Outcome::Found);
        EXPECT_EQ(http.commands, c.commands);
        EXPECT_EQ(chooser.asked, c.asked);
        EXPECT_EQ(chooser.uncertain, c.uncertain);
        const AlbumRelease& release = lookup.Release();
        EXPECT_EQ(release.source, c.source);
        EXPECT_EQ(release.artist, c.artist);
        EXPECT_EQ(release.album, c.album);
        EXPECT_EQ(release.year, c.year);
        EXPECT_EQ(release.genre, c.genre);
        const QString id = c.source == "CDDB" ? AlbumRelease::CddbDiscId : AlbumRelease::MusicBrainzReleaseId;
        EXPECT_EQ(release.ids.value(id), c.id);
        EXPECT_EQ(release.ids.value(AlbumRelease::CddbCategoryId), c.category);
    }
}

TEST_F(DiscLookupTest, TheChoiceShowsTheServersMatchLinesAndTheReleases)
{
    http.answers["cddb query"] = CddbAnswers::TwoMatches;
    find();
    EXPECT_EQ(chooser.offered,
              QStringList({"rock 0c01ac02 Some Band / First Album", "jazz 0c01ac02 Other Band / Other Album"}));
    EXPECT_EQ(lookup.Candidates().size(), 2);

    knownToMusicBrainz();
    http.answers["cddb query"] = CddbAnswers::NoMatch;
    chooser = ScriptedChooser();
    find();
    EXPECT_EQ(chooser.offered, QStringList({"Zoé & les Îles feat. Œdipe / Premier Album – 2001 – FR",
                                            "Some Band / First Album (remaster) – 2011 – XE"}));
    EXPECT_EQ(lookup.Release().titles, QStringList({"L’ouverture", "Deuxième"}));
    EXPECT_TRUE(lookup.Failures().size() == 1) << "CDDB's answer is kept even though MusicBrainz found the disc";
}

// The disc's own CD-Text: the album found when no source knows the disc or
// none answers, else offered last beside what a source found.
TEST_F(DiscLookupTest, TheDiscsCdTextBesideTheSources)
{
    struct Case {
        const char* name;
        QByteArray query; // empty: no server answers
        bool musicBrainz;
        int choice;
        int offered;
        QString source, album;
    };
    const QList<Case> cases = {
        {"no source knows the disc", CddbAnswers::NoMatch, false, 0, 0, "CD-Text", "Pièces"},
        {"no network", {}, false, 0, 0, "CD-Text", "Pièces"},
        {"CDDB's exact match kept", CddbAnswers::Exact, false, 0, 2, "CDDB", "First Album"},
        {"chosen over CDDB's exact match", CddbAnswers::Exact, false, 1, 2, "CD-Text", "Pièces"},
        {"chosen over CDDB's matches", CddbAnswers::TwoMatches, false, 2, 3, "CD-Text", "Pièces"},
        {"chosen over MusicBrainz's releases", CddbAnswers::NoMatch, true, 2, 3, "CD-Text", "Pièces"},
    };
    DiscToc toc = workedExample();
    toc.SetAlbumText({QStringLiteral("Pièces"), QStringLiteral("Trio")});
    QList<TocTrack> tracks = toc.Tracks();
    tracks[0].text = {QStringLiteral("Un"), QString()};
    tracks[1].text = {QStringLiteral("Deux"), QStringLiteral("Zoé")};
    DiscToc named(tracks, toc.LeadOut());
    named.SetAlbumText(toc.AlbumText());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        http.answers.clear();
        http.musicBrainz.clear();
        if (!c.query.isEmpty()) {
            SetUp();
            http.answers["cddb query"] = c.query;
        }
        if (c.musicBrainz)
            knownToMusicBrainz();
        chooser = ScriptedChooser();
        chooser.answer = c.choice;
        ASSERT_EQ(lookup.Find(named, options, chooser), Outcome::Found);
        EXPECT_EQ(chooser.offered.size(), c.offered);
        if (c.offered) {
            EXPECT_EQ(chooser.offered.last(), "Trio / Pièces – CD-Text");
        }
        EXPECT_EQ(lookup.Release().source, c.source);
        EXPECT_EQ(lookup.Release().album, c.album);
    }
    EXPECT_EQ(lookup.Release().titles, QStringList({"Un", "Deux"}));
    EXPECT_EQ(lookup.Release().artists, QStringList({"", "Zoé"}));
}

TEST_F(DiscLookupTest, WhyNothingWasFound)
{
    struct Case {
        const char* name;
        QByteArray query;
        QByteArray read;
        QByteArray musicBrainz; // empty: not known there
        QStringList failures;   // the start of each text
    };
    const QList<Case> cases = {
        {"no match", CddbAnswers::NoMatch, {}, {}, {"202 No match for disc ID 0c01ac02."}},
        {"a refused greeting", "431 Handshake not successful, closing connection.\r\n", {}, {},
         {"Le serveur CDDB a refusé la présentation du programme."}},
        {"a record the server cannot give", CddbAnswers::Exact,
         "401 rock 0c01ac02 No such CD entry in database.\r\n", {}, {"401 rock 0c01ac02 No such CD entry in database."}},
        {"a list without matches", "210 Found exact matches\r\n.\r\n", {}, {}, {"210 Found exact matches\r\n."}},
        {"both sources failing", CddbAnswers::NoMatch, {}, "<html>",
         {"202 No match", "MusicBrainz : La réponse du serveur MusicBrainz n'est pas lisible"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        http.answers["cddb query"] = c.query;
        if (!c.read.isEmpty())
            http.answers["cddb read rock 0c01ac02"] = c.read;
        http.musicBrainz.clear();
        if (!c.musicBrainz.isEmpty())
            http.musicBrainz[WorkedExampleId] = c.musicBrainz;
        EXPECT_EQ(find(), Outcome::NotFound);
        ASSERT_EQ(lookup.Failures().size(), c.failures.size());
        for (int i = 0; i < c.failures.size(); ++i)
            EXPECT_TRUE(failures().at(i).startsWith(c.failures.at(i))) << failures().at(i).toStdString();
    }
}

TEST_F(DiscLookupTest, TheReportRaisesALoneCddbErrorAndCutsLongAnswers)
{
    http.answers.remove("cddb query"); // the connection is refused
    find();
    EXPECT_THROW(lookup.FailureReport(), CalvenorError);

    QByteArray answer = "431 Handshake not successful, closing connection.\r\n";
    for (int i = 0; i < 30000; ++i)
        answer += "line\r\n";
    http.answers["cddb query"] = answer;
    find();
    const QStringList lines = lookup.FailureReport().split('\n');
    EXPECT_EQ(lines.size(), 41);
    EXPECT_EQ(lines.last(), "…");
}

TEST_F(DiscLookupTest, CancellingAsksNothingMore)
{
    http.answers["cddb query"] = CddbAnswers::TwoMatches;
    chooser.answer = -1;
    EXPECT_EQ(find(), Outcome::Cancelled);
    EXPECT_EQ(http.commands.size(), 1);

    const std::atomic<bool> cancelled{true};
    lookup.SetCancelFlag(&cancelled);
    http.urls.clear();
    EXPECT_EQ(find(), Outcome::Cancelled);
    EXPECT_TRUE(http.urls.isEmpty());
}

// Three tracks numbered as on a disc that starts at track 2.
TEST_F(DiscLookupTest, ApplyingWritesTheAlbumAndEveryTrack)
{
    struct Case {
        const char* name;
        AlbumRelease release;
        QString extension;
        QString year, genre;
        QStringList titles, targets;
    };
    AlbumRelease cddb;
    cddb.source = "CDDB";
    cddb.ids = {{AlbumRelease::CddbCategoryId, "rock"}, {AlbumRelease::CddbDiscId, "0c01ac02"}};
    cddb.artist = "Some Band";
    cddb.album = "First Album";
    cddb.genre = "rock";
    cddb.titles = {"Intro", "Outro"};
    AlbumRelease musicBrainz = cddb;
    musicBrainz.source = "MusicBrainz";
    musicBrainz.ids = {{AlbumRelease::MusicBrainzReleaseId, "rel-2"}};
    musicBrainz.genre.clear();
    musicBrainz.year = "2011";
    const QString folder = "/m/Some Band/First Album/";
    const QList<Case> cases = {
        {"CDDB, MP3 files", cddb, ".mp3", "1999", "rock", {"Outro", "", ""},
         {folder + "02 - First Album - Some Band - Outro.mp3", folder + "03 - First Album - Some Band - Piste 03.mp3",
          folder + "04 - First Album - Some Band - Piste 04.mp3"}},
        {"MusicBrainz, WAV files", musicBrainz, ".wav", "2011", "Jazz", {"Outro", "", ""},
         {folder + "02 - First Album - Some Band - Outro.wav", folder + "03 - First Album - Some Band - Piste 03.wav",
          folder + "04 - First Album - Some Band - Piste 04.wav"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlbumSheet sheet;
        QList<AlbumTrack> tracks;
        for (int number : {2, 3, 4}) {
            AlbumTrack track;
            track.number = number;
            track.setValue(AlbumTrack::Year, "1999");
            track.setValue(AlbumTrack::Genre, "Jazz");
            tracks << track;
        }
        sheet.Reset(tracks);
        ASSERT_EQ(DiscLookup::AlbumFolder("/m/", c.release), folder);
        DiscLookup::Apply(c.release, sheet, folder, c.extension);
        EXPECT_EQ(sheet.AlbumValues().artist, "Some Band");
        EXPECT_EQ(sheet.AlbumValues().title, "First Album");
        EXPECT_EQ(sheet.AlbumValues().source, c.release.source);
        EXPECT_EQ(sheet.AlbumValues().ids, c.release.ids);
        for (int k = 1; k <= 3; ++k) {
            const AlbumTrack& track = sheet.Track(k);
            EXPECT_EQ(track.value(AlbumTrack::Artist), "Some Band");
            EXPECT_EQ(track.value(AlbumTrack::Album), "First Album");
            EXPECT_EQ(track.value(AlbumTrack::Year), c.year);
            EXPECT_EQ(track.value(AlbumTrack::Genre), c.genre);
            EXPECT_EQ(track.value(AlbumTrack::Title), c.titles.at(k - 1));
            EXPECT_EQ(track.value(AlbumTrack::Target), c.targets.at(k - 1));
        }
    }
}

// A CDDB album of various artists names each track's artist in its title.
TEST_F(DiscLookupTest, VariousArtistsTitlesGiveEachTracksArtist)
{
    struct Case {
        const char* name;
        const char* albumArtist;
        QStringList titles, artists, splitTitles;
    };
    const QList<Case> cases = {
        {"slashes", "Various", {"Mira / L'aube", "Les Ondes / Minuit"}, {"Mira", "Les Ondes"}, {"L'aube", "Minuit"}},
        {"mixed slashes", "divers", {"Mira / L'aube", "Minuit"}, {"Mira", ""}, {"L'aube", "Minuit"}},
        {"dashes everywhere", "VARIOUS ARTISTS", {"Mira - L'aube", "Les Ondes - Minuit - live"},
         {"Mira", "Les Ondes"}, {"L'aube", "Minuit - live"}},
        {"dashes in some titles", "Various", {"Mira - L'aube", "Minuit"}, {"", ""}, {"Mira - L'aube", "Minuit"}},
        {"one artist", "Some Band", {"Mira / L'aube", "Minuit"}, {"", ""}, {"Mira / L'aube", "Minuit"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        http.answers["cddb read rock 0c01ac02"] =
            CddbAnswers::Record("rock", QString::fromUtf8(c.albumArtist) + " / Nuits blanches", c.titles);
        ASSERT_EQ(find(), Outcome::Found);
        const AlbumRelease& release = lookup.Release();
        EXPECT_EQ(release.artist, c.albumArtist);
        EXPECT_EQ(release.titles, c.splitTitles);
        // No artist of its own: the album's.
        const QStringList artists = release.artists.isEmpty() ? QStringList(2, QString()) : release.artists;
        EXPECT_EQ(artists, c.artists);
    }
}
} // namespace
