#include "encode/TLameCoder.h"
#include "encode/ui/TConvert_Form.h"
#include "encode/ui/TEncode_Options_Form.h"
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QAction>
#include "encode/ECDRIPError.h"
#include "rip/TCDRIP.h"
#include "support/MainFormFixture.h"
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>
#include "disc/AlbumSheet.h"
#include <QTreeView>

using MainForm = MainFormFixture;

TEST_F(MainForm, ListsCdDrivesInLetterOrderAndNotZ)
{
    drives.sources.insert('z', "/dev/sr9");
    drives.sources.insert('a', "/dev/sr2");
    open();
    ASSERT_EQ(form->DrivesList->count(), 3);
    EXPECT_EQ(form->DrivesList->itemText(0), "a:\\");
    EXPECT_EQ(form->DrivesList->itemText(1), "d:\\");
    EXPECT_EQ(form->DrivesList->itemText(2), "e:\\");
    EXPECT_EQ(form->DrivesList->currentIndex(), -1);
    EXPECT_EQ(form->DrivesList->placeholderText(), "Lecteurs de CD");
    EXPECT_EQ(form->DirectoryText->text(), "/home/u/Documents/Ma musique/");
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// The letter comes first: the poll and the start argument read it.
TEST_F(MainForm, TheDriveBoxTellsEachDrivesModelOrImageAfterItsLetter)
{
    drives.sources.insert('x', "/musique/album.cue");
    drives.models['d'] = {"HL-DT-ST", "DVDRAM GH24NSD1", "LG00"};
    open({"x:"});
    QStringList entries;
    for (int i = 0; i < form->DrivesList->count(); ++i)
        entries << form->DrivesList->itemText(i);
    EXPECT_EQ(entries, QStringList({"d:\\ — HL-DT-ST DVDRAM GH24NSD1", "e:\\", "x:\\ — album.cue"}));
    EXPECT_EQ(form->DriveLetter(), 'x');
}

TEST_F(MainForm, NoCdDriveAtAll)
{
    drives.sources.clear();
    open();
    EXPECT_EQ(dialogs.texts(), QStringList({"Vous ne semblez pas avoir de lecteur de CD sur votre ordinateur."}));
    EXPECT_EQ(dialogs.shown.first().kind, MsgKind::Error);
    EXPECT_EQ(form->DrivesList->placeholderText(), "Aucun lecteur");
    form->Timer1Timer(); // the poll does nothing without a selected drive
    EXPECT_EQ(drives.presenceQueries, 0);
}

TEST_F(MainForm, ArgumentSelectsTheDriveAndThePollReadsIt)
{
    drives.discs = {{'e', true}};
    open({"E:\\"});
    EXPECT_EQ(form->DrivesList->currentText(), "e:\\");
    EXPECT_EQ(form->Sheet().TrackCount(), 0) << "selecting at start does not read the disc";
    form->Timer1Timer();
    EXPECT_TRUE(form->DiscPresent());
    EXPECT_EQ(form->Sheet().TrackCount(), 3);
    EXPECT_EQ(cdRip.calls.filter("CR_SetActiveCDROM"), QStringList({"CR_SetActiveCDROM(1)"}));
}

TEST_F(MainForm, ArgumentNamingNoDriveSelectsNothing)
{
    open({"q:\\"});
    EXPECT_EQ(form->DrivesList->currentIndex(), -1);
    form->Timer1Timer();
    EXPECT_EQ(form->Sheet().TrackCount(), 0);
}

TEST_F(MainForm, ReadingADiscListsAudioTracksWithDefaultTargets)
{
    cdRip.toc = {{0, 0x14, 1}};
    for (int i = 1; i <= 11; ++i)
        cdRip.toc.append({uint32_t(i * 100), 0x10, uint8_t(i + 1)});
    cdRip.toc.append({1200, 0x10, 0xAA});
    open();
    choose(0);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << "no connection, no question";
    ASSERT_EQ(form->Sheet().TrackCount(), 11);
    EXPECT_EQ(labels().first(), "Piste 02");
    EXPECT_EQ(labels().last(), "Piste 12");
    EXPECT_EQ(target(1), "/home/u/Documents/Ma musique/02 - Piste 02.mp3");
    EXPECT_FALSE(form->Sheet().Track(1).ticked);
}

TEST_F(MainForm, WithAConnectionTheLookupIsOffered)
{
    internet.connected = true;
    open();
    choose(0);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown.first().text,
              "Voulez vous lancer une recherche sur serveur CDDB pour tenter d'obtenir les informations possibles sur "
              "votre CD ?");
    EXPECT_EQ(dialogs.shown.first().buttons, MsgButtons::YesNo);
    EXPECT_EQ(target(3), "/home/u/Documents/Ma musique/03 - Piste 03.mp3") << "No gives the default names";
}

TEST_F(MainForm, DiscRemovedAndInserted)
{
    open();
    choose(0);
    form->DirectoryText->setText("/tmp/ailleurs/");
    drives.discs['d'] = false;
    form->Timer1Timer();
    EXPECT_FALSE(form->DiscPresent());
    EXPECT_EQ(form->Sheet().TrackCount(), 0);
    EXPECT_EQ(form->DirectoryText->text(), "/home/u/Documents/Ma musique/");
    drives.discs['d'] = true;
    form->Timer1Timer();
    EXPECT_TRUE(form->DiscPresent());
    EXPECT_EQ(form->Sheet().TrackCount(), 3);
}

TEST_F(MainForm, DiscWithoutAudioIsReadAgainAtEveryPoll)
{
    cdRip.toc = {{0, 0x14, 1}, {500, 0x14, 0xAA}};
    open();
    choose(0);
    EXPECT_FALSE(form->DiscPresent());
    const int reads = cdRip.count("CR_ReadToc");
    form->Timer1Timer();
    form->Timer1Timer();
    EXPECT_EQ(cdRip.count("CR_ReadToc"), reads + 2);
}

TEST_F(MainForm, EmptyDriveClearsTheList)
{
    open();
    choose(0);
    choose(1);
    EXPECT_FALSE(form->DiscPresent());
    EXPECT_EQ(form->Sheet().TrackCount(), 0);
}

TEST_F(MainForm, FailedReadLeavesAnEmptyRipperAndTheRows)
{
    open();
    choose(0);
    cdRip.throwOn = "CR_ReadToc";
    form->DrivesList->setCurrentIndex(0);
    EXPECT_THROW(form->DrivesListChange(), ECDRIPError);
    ASSERT_NE(form->CDRIP1(), nullptr);
    EXPECT_TRUE(form->CDRIP1()->Tracks.isEmpty());
    EXPECT_TRUE(form->DiscPresent());
    EXPECT_EQ(form->Sheet().TrackCount(), 3);
}

TEST_F(MainForm, ProgressOfTheRipper)
{
    open();
    form->RippedCount = [] { return 3; };
    form->TotalProgress->setMaximum(400);
    form->CDRIP1Progress(37);
    EXPECT_EQ(form->localProgress->value(), 37);
    EXPECT_EQ(form->TotalProgress->value(), 337);
    form->LameCoder1Progress(12);
    EXPECT_EQ(form->localProgress->value(), 12);
}

TEST_F(MainForm, FolderTextRecomputesTargets)
{
    open();
    choose(0);
    form->DirectoryText->setText("");
    EXPECT_EQ(target(1), "/home/u/Documents/Ma musique/01 - Piste 01.mp3");
    form->DirectoryText->setText("x");
    EXPECT_EQ(target(1), "x/01 - Piste 01.mp3");
}

TEST_F(MainForm, Mp3WavSwitch)
{
    open();
    choose(0);
    form->Sheet().SetValue(1, AlbumTrack::Target, "/m/03 - Intro.mp3");
    form->WavRipp->click();
    EXPECT_EQ(target(1), "/m/03 - Intro.wav");
    EXPECT_EQ(form->CDRIP1()->Format(), FileFormat::Wav);
    form->WavRipp->click();
    EXPECT_EQ(target(1), "/m/03 - Intro.wav") << "the selected button changes nothing";
    form->FlacRipp->click();
    EXPECT_EQ(target(1), "/m/03 - Intro.flac");
    EXPECT_EQ(form->CDRIP1()->Format(), FileFormat::Flac);
    form->MP3Ripp->click();
    EXPECT_EQ(target(1), "/m/03 - Intro.mp3");
    EXPECT_EQ(form->CDRIP1()->Format(), FileFormat::Mp3);
}

TEST_F(MainForm, SelectAllAndNone)
{
    open();
    choose(0);
    form->BitBtn2Click();
    for (int k = 1; k <= 3; ++k)
        EXPECT_TRUE(form->Sheet().Track(k).ticked);
    form->DeleteItemButtonClick();
    for (int k = 1; k <= 3; ++k)
        EXPECT_FALSE(form->Sheet().Track(k).ticked);
    EXPECT_FALSE(form->Sheet().HasSlot(0));
    EXPECT_FALSE(form->Sheet().HasSlot(4));
}

TEST_F(MainForm, HelpPage)
{
    open();
    const QString page = QCoreApplication::applicationDirPath() + "/Aide/Aide.htm";
    ASSERT_FALSE(QFile::exists(page)) << "the test program has no help page beside it";
    form->Action4Execute();
    ASSERT_EQ(dialogs.texts(), QStringList({"Impossible de trouver le fichier d'aide : " + page}));
    EXPECT_TRUE(shell.opened.isEmpty()) << "OK ends the command";
    dialogs.script(MsgAnswer::Dismissed);
    form->Action4Execute();
    EXPECT_EQ(shell.opened, QStringList({page}));
}

TEST_F(MainForm, CddbWithoutDisc)
{
    open();
    form->BitBtn1Click();
    EXPECT_EQ(dialogs.texts(), QStringList({"Il n'y a pas de CD dans le lecteur"}));
}

TEST_F(MainForm, ErrorsOfHandlersReachTheGeneralErrorDisplay)
{
    open();
    choose(0);
    cdRip.throwOn = "CR_ReadToc";
    form->DrivesList->activated(0);
    EXPECT_EQ(dialogs.texts(), QStringList({"Initialization failure"}));
}

TEST_F(MainForm, OptionsAndConverterOpenModally)
{
    open();
    TEncode_Options_Form options(forms, services, form->LameCoder1(), form.get());
    TConvert_Form converter(forms, services, form.get());
    QStringList shown;
    auto closeActive = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        shown << (modal ? modal->metaObject()->className() : "none");
        if (modal)
            modal->close();
    };
    QTimer::singleShot(50, closeActive);
    form->Button1->click();
    QTimer::singleShot(50, closeActive);
    form->Action1->trigger();
    EXPECT_EQ(shown, QStringList({"TEncode_Options_Form", "TConvert_Form"}));

    options.SelectMode->setCurrentIndex(2);
    form->SetEncoderMode();
    EXPECT_EQ(form->LameCoder1().Mode(), DUALCHANNEL);
    options.SelectQuality->setCurrentIndex(3);
    form->SetEncoderQuality();
    EXPECT_EQ(form->LameCoder1().Quality(), VOICE_QUALITY);
}

TEST_F(MainForm, ADiscOfMoreThanFiftyTracksSaysOnlyTheFirstFiftyAreListed)
{
    QList<uint32_t> starts;
    for (uint32_t t = 0; t < 60; ++t)
        starts << t * 100;
    cdRip.SetAudioToc(starts, 6000);
    open();
    choose(0);
    EXPECT_EQ(form->Sheet().TrackCount(), 50);
    EXPECT_EQ(dialogs.texts(), QStringList{"Ce disque a 60 pistes audio : seules les 50 premières sont listées. "
                                           "calvenor-rip peut extraire les suivantes."});
}

TEST_F(MainForm, AnUnreadableCueSheetSaysWhyOnce)
{
    drives.discs['d'] = false;
    drives.reasons['d'] = "Impossible d'ouvrir l'image « /i/a.cue » : le fichier « /i/a.bin » est introuvable.";
    open({"d:"});
    form->Timer1Timer();
    form->Timer1Timer();
    EXPECT_EQ(dialogs.texts(), QStringList{drives.reasons['d']});
    EXPECT_FALSE(form->DiscPresent());
}

TEST_F(MainForm, TheTrackListGoesBeforeTheAlbumSheetItReads)
{
    open();
    QStringList gone;
    QObject::connect(form->CibleFiles->model(), &QObject::destroyed, [&gone] { gone << "list"; });
    QObject::connect(&form->Sheet(), &QObject::destroyed, [&gone] { gone << "sheet"; });
    form.reset();
    EXPECT_EQ(gone, (QStringList{"list", "sheet"}));
}

TEST_F(MainForm, ThePollGoesOnWhileTheCddbQuestionIsOpen)
{
    internet.connected = true;
    drives.discs['d'] = false;
    open({"d:"});
    form->Timer1->setInterval(10);
    form->Timer1->start();
    int rowsAfterRemoval = -1;
    dialogs.whileShown = [&] {
        // The disc goes away while the question waits for an answer.
        drives.discs['d'] = false;
        QEventLoop wait;
        QTimer::singleShot(200, &wait, &QEventLoop::quit);
        wait.exec();
        rowsAfterRemoval = form->Sheet().TrackCount();
    };
    drives.discs['d'] = true;
    QEventLoop untilAsked;
    QTimer::singleShot(2000, &untilAsked, &QEventLoop::quit);
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] { if (rowsAfterRemoval >= 0) untilAsked.quit(); });
    check.start(5);
    untilAsked.exec();
    form->Timer1->stop();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(rowsAfterRemoval, 0);
    EXPECT_FALSE(form->DiscPresent());
}
