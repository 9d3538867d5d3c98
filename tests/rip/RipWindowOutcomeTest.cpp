#include "RipWindowFixture.h"
#include "tags/TMP3Info.h"
#include "tags/TrackTags.h"

TEST_F(RipWindow, ATrackTheDiscCannotGiveIsNeitherListedNorCalledASuccess)
{
    main->WavRipp->click();
    tick({1, 2});
    // The image goes away after the first track: the second cannot be opened.
    duringTrack(1, [this] { QFile::remove(dir.filePath("img.bin")); });
    main->Button2Click();
    EXPECT_TRUE(QFile::exists(target(1)));
    EXPECT_FALSE(QFile::exists(target(2)));
    EXPECT_EQ(playlist(), QStringList({"01 - Piste 01.wav"}));
    EXPECT_EQ(dialogs.texts(), QStringList({"Le disque n'a pas pu être lu pour les pistes suivantes : 2. Aucun fichier "
                                            "n'a été créé pour elles."}));
    EXPECT_EQ(shell.beeps, 0);
}

TEST_F(RipWindow, LostSectorsAreToldInsteadOfASuccessAndLogged)
{
    main->WavRipp->click();
    tick({1, 2});
    cdRip->FailSectors(image.TrackAt(2).firstSector + 20, 3);
    main->Button2Click();
    EXPECT_EQ(playlist(), QStringList({"01 - Piste 01.wav", "02 - Piste 02.wav"})) << "the damaged file is kept";
    EXPECT_EQ(dialogs.texts(),
              QStringList({"Calvenor a terminé de ripper les pistes demandées, mais des secteurs n'ont pas pu être lus. "
                           "Les fichiers ont été conservés.\nPiste 02 : 3 secteurs illisibles (00:00.20 – 00:00.23)"
                           "\n\nVoulez vous ouvrir le répertoire contenant les nouveaux fichiers ?"}));
    EXPECT_EQ(shell.beeps, 0);
    const QString log = QString::fromUtf8(readAll(music + "Rapport.log"));
    EXPECT_TRUE(log.contains("AccurateRip : non consultée : pas de connexion au réseau\n")) << log.toStdString();
    EXPECT_TRUE(log.contains("  Secteurs illisibles : 3 (00:00.20 – 00:00.23)\n"));
}

TEST_F(RipWindow, TheReadOffsetSavedForTheDrivesModelShiftsTheAudio)
{
    drives.models['d'] = {"PLEXTOR", "DVDR PX-716A", "1.11"};
    settings->SetReadOffset("PLEXTOR DVDR PX-716A", -588);
    main->WavRipp->click();
    tick({2});
    main->Button2Click();
    const QByteArray pcm = image.TrackAt(1).pcm.right(DiscImage::SectorBytes) + image.TrackAt(2).pcm;
    EXPECT_EQ(readAll(target(2)).mid(44, image.TrackAt(2).pcm.size()), pcm.left(image.TrackAt(2).pcm.size()));
    const QString log = QString::fromUtf8(readAll(music + "Rapport.log"));
    EXPECT_TRUE(log.contains("Lecteur : PLEXTOR DVDR PX-716A 1.11\nDécalage de lecture : -588 échantillons\n"))
        << log.toStdString();
}

TEST_F(RipWindow, AnOldFileAtTheTargetIsNotTakenForARippedTrack)
{
    main->WavRipp->click();
    tick({1, 2});
    ASSERT_TRUE(QDir().mkpath(music));
    QFile old(target(2));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    dialogs.script(MsgAnswer::Yes);
    duringTrack(1, [this] { QFile::remove(dir.filePath("img.bin")); });
    main->Button2Click();
    EXPECT_EQ(readAll(target(2)), "old") << "neither tagged nor rewritten";
    EXPECT_EQ(playlist(), QStringList({"01 - Piste 01.wav"}));
}

TEST_F(RipWindow, TheWholeDiscsCtdbVerdictClosesTheSummary)
{
    const QJsonObject reference = ReferenceScript::Run("ctdb_reference.py", image, cue);
    http.ctdb[reference["toc"].toString()] =
        "<ctdb><entry crc32=\"" + reference["crc32"].toString().toUtf8() + "\" confidence=\"5\" /></ctdb>";
    internet.connected = true;
    main->WavRipp->click();
    tick({1, 2, 3, 4, 5});
    main->Button2Click();
    EXPECT_EQ(dialogs.texts(), QStringList({"Disque : exact selon CTDB (confiance 5)\n\n" + FinalQuestion}));
    const QString log = QString::fromUtf8(readAll(music + "Rapport.log"));
    EXPECT_TRUE(log.contains("\nDisque : exact selon CTDB (confiance 5)\n")) << log.toStdString();
}

// Sectors lost in track 2 are mended from the CUETools database's parity,
// which the server sends whole; the window tells the repair as a success.
TEST_F(RipWindow, ARepairFromTheCtdbParityIsToldAsASuccess)
{
    const QJsonObject reference = ReferenceScript::Run("ctdb_reference.py", image, cue);
    const QJsonObject parity = ReferenceScript::Run("ctdb_parity_reference.py", image, cue,
                                                    {"--npar", "8", "--out", dir.filePath("parity")});
    http.ctdb[reference["toc"].toString()] = "<ctdb><entry crc32=\"" + reference["crc32"].toString().toUtf8()
        + "\" confidence=\"5\" npar=\"8\" stride=\"5880\" hasparity=\"http://p.test/1\" syndrome=\""
        + parity["syndrome"].toString().toUtf8() + "\" /></ctdb>";
    http.files["http://p.test/1"] = readAll(dir.filePath("parity"));
    internet.connected = true;
    main->WavRipp->click();
    tick({1, 2, 3, 4, 5});
    cdRip->FailSectors(image.TrackAt(2).firstSector + 10, 3);
    main->Button2Click();
    ASSERT_EQ(dialogs.texts().size(), 1);
    const QString told = dialogs.texts().first();
    EXPECT_TRUE(told.startsWith("Piste 02 : réparée selon CTDB (")) << told.toStdString();
    EXPECT_TRUE(told.endsWith(" échantillons corrigés), exact (confiance 5)\n\n" + FinalQuestion)) << told.toStdString();
    EXPECT_EQ(readAll(target(2)).mid(44, image.TrackAt(2).pcm.size()), image.TrackAt(2).pcm);
    const QString log = QString::fromUtf8(readAll(music + "Rapport.log"));
    EXPECT_TRUE(log.contains("\nDisque : réparé selon CTDB (")) << log.toStdString();
}

// The window's run reads each track as often as the settings say.
TEST_F(RipWindow, VerifiedTracksTellTheirReadsInTheSummaryAndTheLog)
{
    settings->SetPasses(3);
    main->WavRipp->click();
    tick({2});
    main->Button2Click();
    EXPECT_EQ(readAll(target(2)).mid(44, image.TrackAt(2).pcm.size()), image.TrackAt(2).pcm);
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.texts().first().startsWith("Piste 02 : deux lectures identiques après 2 lectures\n"))
        << dialogs.texts().first().toStdString();
    const QString log = QString::fromUtf8(readAll(music + "Rapport.log"));
    EXPECT_TRUE(log.contains("\nLectures par piste : jusqu'à 3\n")) << log.toStdString();
}

// A run of every track leaves a cue sheet beside the playlist, with the
// ISRCs and pre-gaps the drive's Q sub-channel gives, read by the run and not
// when the disc was listed; the summary tells a track the disc flags as
// pre-emphasised.
TEST_F(RipWindow, AWholeDiscRunWritesACueSheetAndTellsPreEmphasis)
{
    DiscImage flagged;
    for (int t = 1; t <= 5; ++t)
        flagged.AddAudioTrack(DiscImage::NoisePcm(20 + 5 * t, t), t == 3 ? DiscImage::PreEmphasis : 0);
    flagged.WithIsrc("FRZ039800212").WriteTo(dir.path(), "img");
    // Track 3's pre-gap: the last 10 of track 2's 30 sectors.
    FakeQSubchannel q;
    q.tracks = {{1, -1, 0}, {2, -1, 25}, {3, 45, 55}, {4, -1, 90}, {5, -1, 130}};
    cdAudio.q = &q;
    main->DrivesListChange();
    EXPECT_EQ(q.reads, 0);
    EXPECT_EQ(cdAudio.codesRead, 0);
    main->FlacRipp->click();
    tick({1, 2, 3, 4});
    main->Button2Click();
    EXPECT_FALSE(QFile::exists(music + "PlayList.cue"));
    tick({5});
    dialogs.script(MsgAnswer::YesToAll);
    main->Button2Click();
    const QByteArray sheet = readAll(music + "PlayList.cue");
    EXPECT_TRUE(sheet.contains("    INDEX 00 00:00:20\nFILE \"03 - Piste 03.flac\"")) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains("  TRACK 05 AUDIO\n    ISRC FRZ039800212\n")) << sheet.toStdString();
    TMP3Info id3v1;
    TagFields tags;
    ASSERT_TRUE(TrackTags::Read(id3v1, music + "05 - Piste 05.flac", tags));
    EXPECT_EQ(tags.isrc, "FRZ039800212");
    ASSERT_EQ(dialogs.texts().size(), 3);
    EXPECT_EQ(dialogs.texts().last(), "Piste 03 : pré-accentuation (à désaccentuer à la lecture)\n\n" + FinalQuestion);
}

// Two ticked tracks that the template names alike: refused before the
// question about an existing file, and nothing is ripped.
TEST_F(RipWindow, TracksTheTemplateNamesAlikeAreRefusedBeforeAnyRead)
{
    main->WavRipp->click();
    main->Sheet().SetNames(NameTemplate("%d - %a"));
    main->Sheet().RetargetAll(music, ".wav");
    ASSERT_TRUE(QFile(target(1)).open(QIODevice::WriteOnly));
    tick({1, 2, 3});
    main->Button2Click();
    EXPECT_EQ(dialogs.texts(), QStringList({"Les pistes 01 et 02 donneraient le même fichier « " + music
                                            + "Inconnu.wav » : changez le modèle de nom."}));
    EXPECT_EQ(QDir(music).entryList(QDir::Files), QStringList({"Inconnu.wav"}));
    EXPECT_TRUE(readAll(target(1)).isEmpty());
}
