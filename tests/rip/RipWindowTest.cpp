#include "rip/TCDRIP.h"
#include "RipWindowFixture.h"

TEST_F(RipWindow, TickedRowsBecomeTaggedWavFilesWithAPlaylist)
{
    main->WavRipp->click();
    tick({2, 4});
    main->Sheet().SetValue(2, AlbumTrack::Title, "Deux");
    main->DirectoryTextChange();
    main->Sheet().SetValue(2, AlbumTrack::Genre, "rock");
    main->Button2Click();

    for (int k : {2, 4}) {
        const QByteArray file = readAll(target(k));
        const QByteArray pcm = image.TrackAt(k).pcm;
        ASSERT_EQ(file.size(), 44 + pcm.size() + 128) << target(k).toStdString();
        EXPECT_EQ(file.mid(44, pcm.size()), pcm) << "track " << k;
        EXPECT_EQ(file.right(128).left(3), "TAG");
    }
    EXPECT_EQ(readAll(target(2)).right(128).mid(3, 4), "Deux");
    EXPECT_EQ(uint8_t(readAll(target(2)).right(1).at(0)), 17) << "Rock, found without regard to case";
    EXPECT_FALSE(QFile::exists(target(1)));
    EXPECT_EQ(playlist(), QStringList({"02 - Deux.wav", "04 - Piste 04.wav"}));
    EXPECT_TRUE(QDir(music).entryList({"*jitt"}, QDir::Files).isEmpty());
    EXPECT_EQ(main->TotalProgress->value(), 0);
    EXPECT_EQ(main->TotalProgress->maximum(), 200);
    EXPECT_EQ(dialogs.texts(), QStringList({FinalQuestion}));
    EXPECT_EQ(shell.beeps, 1);
    EXPECT_EQ(ripping->RippedCount(), 2);
    EXPECT_FALSE(ripping->isVisible());

    // A second run into the same folder adds only what is new; one answer
    // lets it replace both earlier files.
    tick({5});
    dialogs.script(MsgAnswer::YesToAll);
    dialogs.script(MsgAnswer::Yes);
    main->Button2Click();
    EXPECT_EQ(playlist(), QStringList({"02 - Deux.wav", "04 - Piste 04.wav", "05 - Piste 05.wav"}));
    EXPECT_EQ(shell.opened, QStringList({music}));
}

TEST_F(RipWindow, Mp3FilesDecodeToTheTrackLength)
{
    main->Sheet().SetValue(1, AlbumTrack::Artist, "Artiste");
    main->Sheet().SetValue(1, AlbumTrack::Album, "Album");
    main->DirectoryTextChange();
    tick({3});
    main->Button2Click();
    ASSERT_TRUE(target(3).endsWith(".mp3"));
    QByteArray mp3 = readAll(target(3));
    ASSERT_GT(mp3.size(), 128);
    EXPECT_EQ(mp3.right(128).left(3), "TAG");
    mp3.chop(128);
    Mp3Decoder decoder;
    std::vector<int16_t> pcm;
    ASSERT_TRUE(decoder.Decode(reinterpret_cast<const uint8_t*>(mp3.constData()), mp3.size(), pcm));
    EXPECT_EQ(decoder.Channels(), 2);
    EXPECT_EQ(decoder.SampleRate(), 44100);
    const long frames = long(pcm.size()) / 2;
    const long expected = image.TrackAt(3).pcm.size() / 4;
    // Whole MPEG frames, plus the encoder's delay and padding.
    EXPECT_GE(frames, expected);
    EXPECT_LE(frames, expected + 1152 + 2 * 1152 + 576);
    EXPECT_EQ(playlist("Artiste - Album - PlayList.M3u"), QStringList({"03 - Piste 03.mp3"}));
}

TEST_F(RipWindow, StopDuringTheSecondOfThreeTracks)
{
    for (QRadioButton* format : {main->WavRipp, main->MP3Ripp}) {
        SCOPED_TRACE(format->text().toStdString());
        QDir(music).removeRecursively();
        QDir().mkpath(music);
        dialogs.shown.clear();
        format->click();
        main->DirectoryTextChange();
        tick({1, 2, 3});
        duringTrack(2, [this] { ripping->Image1Click(); });
        main->Button2Click();
        EXPECT_TRUE(QFile::exists(target(1)));
        EXPECT_FALSE(QFile::exists(target(2)));
        const QByteArray partial = readAll(TCDRIP::IncompletePath(target(2)));
        ASSERT_GT(partial.size(), 44);
        if (format == main->WavRipp) {
            EXPECT_EQ(readAll(target(1)).size(), 44 + image.TrackAt(1).pcm.size() + 128);
            EXPECT_LT(partial.size(), 44 + image.TrackAt(2).pcm.size());
            EXPECT_NE(partial.right(128).left(3), "TAG") << "the partial file is kept untagged";
            EXPECT_EQ(qFromLittleEndian<uint32_t>(partial.constData() + 40), uint32_t(partial.size() - 44))
                << "the header tells what the file holds";
        }
        EXPECT_FALSE(QFile::exists(target(3)));
        EXPECT_EQ(playlist(), QStringList({QFileInfo(target(1)).fileName()}));
        ASSERT_EQ(dialogs.shown.size(), 1) << "no question after a stop, only what was cut short";
        EXPECT_EQ(dialogs.shown[0].buttons, MsgButtons::OkReport);
        EXPECT_TRUE(dialogs.shown[0].text.startsWith("Piste 02 interrompue à 00:0")) << dialogs.shown[0].text.toStdString();
        EXPECT_EQ(ripping->RippedCount(), 1);
        EXPECT_EQ(shell.beeps, 0);
        EXPECT_TRUE(ripping->RunStopped());
        EXPECT_EQ(main->CibleFiles->model()->index(1, 9).data().toString(), "interrompue");
        const QString log = QString::fromUtf8(readAll(music + "Rapport.log"));
        EXPECT_TRUE(log.contains("Résumé : 1 piste(s) rippée(s), 0 avec des secteurs illisibles, 1 interrompue(s)"))
            << log.toStdString();
        EXPECT_EQ(log.count("  AccurateRip : non vérifiée\n"), 2) << "no verdict for the stopped track";
    }
}

TEST_F(RipWindow, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo)
{
    main->WavRipp->click();
    const struct {
        QList<MsgAnswer> answers;
        int questions;
        bool replaced[2]; // tracks 1 and 2, whose files exist
        bool ran;         // track 3 ripped
    } cases[] = {
        {{MsgAnswer::YesToAll}, 1, {true, true}, true},
        {{MsgAnswer::No, MsgAnswer::Yes}, 2, {false, true}, true},
        {{MsgAnswer::NoToAll}, 1, {false, false}, true},
        {{MsgAnswer::Yes, MsgAnswer::Cancel}, 2, {false, false}, false},
        {{MsgAnswer::Dismissed}, 1, {false, false}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.questions);
        QDir(music).removeRecursively();
        QDir().mkpath(music);
        dialogs.shown.clear();
        for (int k : {1, 2})
            ASSERT_TRUE(QFile(target(k)).open(QIODevice::WriteOnly));
        for (MsgAnswer a : c.answers)
            dialogs.script(a);
        tick({1, 2, 3});
        main->Button2Click();
        const QStringList questions = dialogs.texts().filter("existe déjà");
        ASSERT_EQ(questions.size(), c.questions);
        EXPECT_EQ(questions.first(), "Le fichier « " + target(1) + " » existe déjà. Le remplacer ?");
        EXPECT_EQ(dialogs.shown.first().buttons, MsgButtons::YesAllNoAllCancel);
        for (int k : {1, 2})
            EXPECT_EQ(readAll(target(k)).isEmpty(), !c.replaced[k - 1]) << k;
        EXPECT_EQ(QFile::exists(target(3)), c.ran);
        EXPECT_EQ(playlist().contains("01 - Piste 01.wav"), c.replaced[0]);
        EXPECT_EQ(dialogs.shown.size(), c.ran ? c.questions + 1 : c.questions) << "an end message after a run only";
        if (c.ran && !c.replaced[0]) {
            EXPECT_TRUE(dialogs.texts().last().contains("Pistes non rippées, leur fichier existant a été conservé : Piste 01"))
                << dialogs.texts().last().toStdString();
        }
    }
}

TEST_F(RipWindow, TheEndMessageOpensTheLogAndTheWindowTellsTheTimeLeft)
{
    main->WavRipp->click();
    tick({1, 3});
    main->Sheet().SetValue(3, AlbumTrack::Title, "Troisième");
    cdRip->FailSectors(image.TrackAt(3).firstSector + 20, 3);
    QString shownDuringTrack3, trackShown;
    // The reader waits here while the window takes the progress at its own pace.
    duringTrack(3, [&] {
        QDeadlineTimer deadline(5000);
        while (!ripping->Label4->text().contains("Temps") && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        shownDuringTrack3 = ripping->Label4->text();
        trackShown = ripping->Label2->text();
    });
    dialogs.script(MsgAnswer::Report);
    main->Button2Click();
    EXPECT_EQ(dialogs.shown.last().buttons, MsgButtons::YesNoReport);
    EXPECT_EQ(shell.opened, QStringList({music + "Rapport.log"}));
    EXPECT_EQ(main->CibleFiles->model()->index(2, 9).data().toString(), "secteurs illisibles");
    EXPECT_TRUE(QRegularExpression("^\\d+ % – Temps restant : \\d\\d:\\d\\d$").match(shownDuringTrack3).hasMatch())
        << shownDuringTrack3.toStdString();
    EXPECT_EQ(trackShown, "Piste 2/2 – Troisième") << "its place in the run, not its number on the disc";
}

// Whatever the scale, the texts fit their rows whole.
TEST_F(RipWindow, TheRippingWindowsTextsFitTheirRows)
{
    const struct {
        QLabel* label;
        QString text;
    } cases[] = {
        {ripping->Label4, TRippageEnCour::ProgressText(100, 3599)},
        {ripping->Label4, TRippageEnCour::ProgressText(100, -1)},
        {ripping->Label2, TRippageEnCour::TrackText(12, 12, {})},
        {ripping->Label1, "Rippage interrompu"},
    };
    EXPECT_EQ(TRippageEnCour::ProgressText(37, 130), "37 % – Temps restant : 02:10");
    EXPECT_EQ(TRippageEnCour::TrackText(3, 5, "Titre"), "Piste 3/5 – Titre");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const QFontMetrics metrics(c.label->font());
        EXPECT_LE(metrics.horizontalAdvance(c.text), c.label->width());
        EXPECT_LE(metrics.height(), c.label->height());
        EXPECT_TRUE(ripping->rect().contains(c.label->geometry()));
    }
}

TEST_F(RipWindow, StopBeforeTheRunStarts)
{
    tick({1});
    QTimer::singleShot(100, ripping.get(), [this] { ripping->Image1Click(); });
    main->Button2Click();
    EXPECT_FALSE(QFile::exists(target(1)));
    EXPECT_FALSE(ripping->isVisible());
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(RipWindow, NothingTickedDoesNothing)
{
    main->Button2Click();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(QDir(music).entryList(QDir::Files).isEmpty());
}

TEST_F(RipWindow, MissingFolderCreatedOnYesOnly)
{
    main->WavRipp->click();
    tick({1});
    const QString missing = dir.filePath("a/b/Ma musique/");
    main->DirectoryText->setText(missing);
    main->Button2Click(); // answered No by default
    ASSERT_EQ(dialogs.texts(), QStringList({"Le répertoire de destination (\"" + missing
                                            + "\") n'existe pas. Voulez vous le créer ?"}));
    EXPECT_FALSE(QDir(missing).exists());

    dialogs.shown.clear();
    dialogs.script(MsgAnswer::Yes);
    main->Button2Click();
    EXPECT_TRUE(QFile::exists(missing + "01 - Piste 01.wav"));
}

TEST_F(RipWindow, FolderThatCannotBeCreated)
{
    tick({1});
    QFile blocker(dir.filePath("plain-file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    main->DirectoryText->setText(dir.filePath("plain-file/sub/"));
    dialogs.script(MsgAnswer::Yes);
    main->Button2Click();
    EXPECT_EQ(dialogs.texts().last(), "Impossible de créer le répertoire");
    EXPECT_FALSE(ripping->isVisible());
}

TEST_F(RipWindow, WriteErrorHaltsTheRun)
{
    main->WavRipp->click();
    tick({1, 2});
    // A file-size limit far below one track: writing fails with EFBIG.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 20000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString shownPath, state;
    bool halted = false;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!dialogs.texts().filter(QString::fromUtf8("Erreur d'écriture dans le fichier \"%1\".").arg(target(1))).isEmpty()) {
            halted = ripping->isVisible();
            shownPath = ripping->Label2->toolTip();
            state = ripping->Label1->text();
            poll.stop();
            ripping->Image1Click(); // the only way out of the halted state
        }
    });
    poll.start();
    main->Button2Click();
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_TRUE(halted);
    EXPECT_EQ(shownPath, target(1));
    EXPECT_EQ(state, "Rippage interrompu");
    EXPECT_FALSE(QFile::exists(target(2)));
    EXPECT_FALSE(QFile::exists(music + "PlayList.M3u")) << "a halted run saves no playlist";
}

TEST_F(RipWindow, DiscRemovedDuringTheRun)
{
    main->WavRipp->click();
    tick({1, 2, 3});
    duringTrack(2, [this] {
        drives.discs['d'] = false;
        main->Timer1Timer();
    });
    main->Button2Click();
    EXPECT_EQ(main->Sheet().TrackCount(), 0);
    EXPECT_TRUE(QFile::exists(music + "01 - Piste 01.wav"));
    EXPECT_FALSE(QFile::exists(music + "02 - Piste 02.wav"));
    EXPECT_TRUE(QFile::exists(music + "02 - Piste 02 (incomplet).wav"));
    EXPECT_FALSE(QFile::exists(music + "03 - Piste 03.wav"));
    EXPECT_EQ(playlist(), QStringList({"01 - Piste 01.wav"})) << "the track cut short is not listed";
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown.first().text.startsWith("Le CD a été retiré du lecteur pendant le rippage."));
    EXPECT_TRUE(dialogs.shown.first().text.endsWith(
        "La piste 2, interrompue, est incomplète : la partie lue est conservée sous un nom à part, sans être ajoutée "
        "à la liste de lecture."));
}

TEST_F(RipWindow, FolderButtons)
{
    main->DirectoryText->setText("/home/u/Ma musique/");
    main->BitBtn4Click();
    EXPECT_EQ(main->DirectoryText->text(), "/home/u/");
    main->DirectoryText->setText("/home");
    main->BitBtn4Click();
    EXPECT_EQ(main->DirectoryText->text(), "/");
    main->BitBtn4Click();
    EXPECT_EQ(main->DirectoryText->text(), "/");
    main->DirectoryText->setText("");
    main->BitBtn4Click();
    EXPECT_EQ(main->DirectoryText->text(), "/");

    main->DirectoryText->setText(dir.filePath("nowhere"));
    shell.choices.push_back(music.chopped(1));
    main->BitBtn3Click();
    EXPECT_EQ(shell.browsePreselected, QStringList({""})) << "a missing folder is not preselected";
    EXPECT_EQ(shell.browseTitles, QStringList({"Dossier de destination"}));
    EXPECT_EQ(main->DirectoryText->text(), music);
    EXPECT_EQ(target(1), music + "01 - Piste 01.mp3");
    main->BitBtn3Click(); // cancelled
    EXPECT_EQ(main->DirectoryText->text(), music);
    main->BitBtn5Click();
    EXPECT_EQ(shell.opened, QStringList({music}));
}

TEST_F(RipWindow, ShowingTheWindowAgainDuringARunStartsNoSecondRun)
{
    main->WavRipp->click();
    tick({1, 2});
    QList<int32_t> started;
    drive->onOpen = [&](int32_t first) {
        started << first;
        // What restoring a minimised window sends.
        onWindowThread([&] {
            QShowEvent shown;
            QApplication::sendEvent(ripping.get(), &shown);
        });
    };
    main->Button2Click();
    EXPECT_EQ(started, QList<int32_t>({image.TrackAt(1).firstSector, image.TrackAt(2).firstSector}));
    EXPECT_EQ(playlist(), QStringList({"01 - Piste 01.wav", "02 - Piste 02.wav"}));
}

TEST_F(RipWindow, ClosingTheWindowDuringARunStopsIt)
{
    main->WavRipp->click();
    tick({1, 2, 3});
    duringTrack(2, [this] { ripping->close(); });
    main->Button2Click();
    EXPECT_TRUE(ripping->RunStopped());
    EXPECT_FALSE(QFile::exists(target(3)));
    EXPECT_EQ(playlist(), QStringList({"01 - Piste 01.wav"}));
    EXPECT_EQ(dialogs.shown.size(), 1) << "the track cut short is told";
}
