#include "LookupWindowFixture.h"

using CddbAnswers::Record;

TEST_F(LookupWindow, ShowsItsControlsWithTheirTexts)
{
    EXPECT_EQ(forms.Connexion_CDDB_Form, lookup.get());
    EXPECT_EQ(forms.ChooseAlbum, chooser.get());
    EXPECT_EQ(lookup->size(), QSize(250, 400));
    EXPECT_EQ(lookup->Label2->text(), "Connexion CDDB :");
    EXPECT_EQ(lookup->Label1->text(), "Récupération des infos sur le CD...");
    EXPECT_EQ(lookup->Label3->text(), "Informations trouvées :");
    EXPECT_EQ(lookup->Label4->text(), "Artiste :");
    EXPECT_EQ(lookup->Label6->text(), "Album :");
    EXPECT_EQ(lookup->Label7->text(), "Liste des titres :");
    EXPECT_EQ(lookup->BitBtn2->text(), "Annuler");
    EXPECT_EQ(lookup->BitBtn1->text(), "Appliquer");
    EXPECT_EQ(lookup->Timer1->interval(), 500);
    EXPECT_FALSE(lookup->Timer1->isActive());
    EXPECT_FALSE(lookup->BackGround->pixmap().isNull());
    EXPECT_FALSE(lookup->Image1->pixmap().isNull());
    EXPECT_EQ(lookup->CDDBConnect1().ComponentVersion(), "1.03 - 24/12/2002");
    EXPECT_EQ(chooser->size(), QSize(250, 100));
    EXPECT_EQ(chooser->Label1->text(), "Plusieurs albums possibles :");
    EXPECT_EQ(chooser->Image2->toolTip(), "Arréter le rippage");
    EXPECT_FALSE(chooser->Liste->isEditable());
    EXPECT_EQ(chooser->AnnulerBTN->text(), "Annuler");
    EXPECT_EQ(chooser->ChoiseBTN->text(), "Choisir");
}

TEST_F(LookupWindow, SecondShowingForTheSameDiscSendsNoQuery)
{
    lookup->Timer1Timer();
    EXPECT_EQ(main->DiscIdText, "ID : 0c01ac02");
    EXPECT_EQ(http.commands.size(), 2);
    EXPECT_TRUE(http.urls.first().startsWith(lookup->CddbServer() + "/cddb.cgi?cmd=cddb+query+0c01ac02+"));
    EXPECT_EQ(lookup->Artiste->text(), "Some Band");
    EXPECT_EQ(lookup->Album->text(), "First Album");
    EXPECT_EQ(found(), QStringList({"Intro", "Outro"}));
    EXPECT_EQ(status(), "Opération terminée.");
    EXPECT_EQ(progress(), 100);

    lookup->Timer1Timer();
    EXPECT_EQ(http.commands.size(), 2);
    EXPECT_EQ(found(), QStringList({"Intro", "Outro"}));
    EXPECT_EQ(status(), "Opération terminée.");
    EXPECT_EQ(progress(), 100);
}

TEST_F(LookupWindow, AnswerWithoutMatchIsShownAndTheNextShowingAsksAgain)
{
    http.answers["cddb query"] = CddbAnswers::NoMatch;
    lookup->Timer1Timer();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown.first().kind, MsgKind::Warning);
    EXPECT_EQ(dialogs.shown.first().text, "202 No match for disc ID 0c01ac02.");
    EXPECT_EQ(dialogs.captions, QStringList({"Réponse du serveur"}));
    EXPECT_TRUE(found().isEmpty());
    EXPECT_EQ(status(), "Opération terminée.");

    lookup->Timer1Timer();
    EXPECT_EQ(http.commands.size(), 2);
}

TEST_F(LookupWindow, ChooserOffersTheTwoMatchesAndReadsTheChosenOne)
{
    http.answers["cddb query"] = CddbAnswers::TwoMatches;
    QString title;
    QStringList offered;
    int selected = -1;
    QString hint;
    whenShown(chooser.get(), [&] {
        title = chooser->Label1->text();
        for (int i = 0; i < chooser->Liste->count(); ++i)
            offered << chooser->Liste->itemText(i);
        selected = chooser->Liste->currentIndex();
        hint = chooser->Liste->toolTip();
        chooser->ChoiseBTN->click();
    });
    lookup->Timer1Timer();
    EXPECT_EQ(title, "Plusieur albums possibles :");
    EXPECT_EQ(offered, QStringList({"rock 0c01ac02 Some Band / First Album", "jazz 0c01ac02 Other Band / Other Album"}));
    EXPECT_EQ(selected, 0);
    // Lines wider than the list are read whole from the hints.
    EXPECT_EQ(hint, offered.first());
    EXPECT_EQ(http.commands.last(), "cddb read rock 0c01ac02 ");
    EXPECT_EQ(lookup->Artiste->text(), "Some Band");
    EXPECT_EQ(lookup->Album->toolTip(), "First Album");
    EXPECT_EQ(status(), "Opération terminée.");
    EXPECT_EQ(progress(), 100);

    // Inexact matches: another title; the close picture reads the selection.
    http.answers["cddb query"] = QByteArray(CddbAnswers::TwoMatches).replace("210 Found exact", "211 Found inexact");
    main->DiscIdText.clear(); // as for another disc
    whenShown(chooser.get(), [&] {
        title = chooser->Label1->text();
        chooser->Liste->setCurrentIndex(1);
        MouseInput::Click(chooser->Image2);
    });
    lookup->Timer1Timer();
    EXPECT_EQ(title, "Détermination incertaine :");
    EXPECT_EQ(http.commands.last(), "cddb read jazz 0c01ac02 ");
    EXPECT_EQ(lookup->Artiste->text(), "Other Band");
    EXPECT_EQ(found(), QStringList({"Blue", "Green"}));
    EXPECT_EQ(status(), "Opération terminée.");
}

TEST_F(LookupWindow, CancellingTheChooserReadsNothing)
{
    http.answers["cddb query"] = CddbAnswers::TwoMatches;
    whenShown(chooser.get(), [&] { chooser->AnnulerBTN->click(); });
    lookup->Timer1Timer();
    EXPECT_EQ(http.commands.size(), 1);
    EXPECT_EQ(chooser->Liste->count(), 0);
    EXPECT_TRUE(found().isEmpty());
    EXPECT_EQ(status(), "Opération annulée.");
    EXPECT_EQ(progress(), 100);
}

TEST_F(LookupWindow, NoConnectionSendsNothing)
{
    internet.connected = false;
    lookup->Timer1Timer();
    EXPECT_TRUE(http.commands.isEmpty());
    EXPECT_EQ(status(), "Connexion à internet annulée...");
    EXPECT_EQ(progress(), 33);
}

TEST_F(LookupWindow, UnreadableDiscEndsTheLookupInTheErrorBox)
{
    device.tocs.clear();
    internet.connected = false; // no question
    choose(0);                  // the disc is listed without a table of contents
    internet.connected = true;
    lookup->FormShow();
    ASSERT_TRUE(spinUntil([&] { return !dialogs.shown.isEmpty(); }));
    EXPECT_FALSE(lookup->Timer1->isActive());
    EXPECT_EQ(dialogs.shown.first().kind, MsgKind::Error);
    EXPECT_EQ(dialogs.shown.first().text, "Le lecteur ne contient pas de disque : /dev/sr0");
    EXPECT_EQ(status(), "Récupération des infos sur le cd...");
    EXPECT_EQ(progress(), 0);
    EXPECT_TRUE(http.commands.isEmpty());
}

TEST_F(LookupWindow, ApplyingFillsTheSheetTheTagEditorAndTheFolder)
{
    lookup->Timer1Timer();
    for (QCheckBox* box : {editor->AllSameArtiste, editor->AllSameAlbum, editor->AllSameGenre, editor->AllSameYear})
        box->setChecked(false);
    lookup->show();
    lookup->BitBtn1->click();
    EXPECT_FALSE(lookup->isVisible());
    EXPECT_EQ(lookup->result(), QDialog::Accepted);

    const QString folder = musicFolder() + "Some Band/First Album/";
    EXPECT_EQ(main->DirectoryText->text(), folder);
    EXPECT_EQ(main->Sheet().AlbumValues().source, "CDDB");
    EXPECT_EQ(column(AlbumTrack::Artist), QStringList({"Some Band", "Some Band", "Some Band"}));
    EXPECT_EQ(column(AlbumTrack::Album), QStringList({"First Album", "First Album", "First Album"}));
    EXPECT_EQ(column(AlbumTrack::Genre), QStringList({"rock", "rock", "rock"}));
    // The record has two titles: the third row keeps its label as name.
    EXPECT_EQ(column(AlbumTrack::Title), QStringList({"Intro", "Outro", ""}));
    EXPECT_EQ(column(AlbumTrack::Target),
              QStringList({folder + "01 - First Album - Some Band - Intro.mp3",
                           folder + "02 - First Album - Some Band - Outro.mp3",
                           folder + "03 - First Album - Some Band - Piste 03.mp3"}));
    for (QCheckBox* box : {editor->AllSameArtiste, editor->AllSameAlbum, editor->AllSameGenre, editor->AllSameYear})
        EXPECT_TRUE(box->isChecked());
    main->SelectRow(1);
    editor->FillFromSelectedRow();
    EXPECT_EQ(editor->Artiste->text(), "Some Band");
    EXPECT_EQ(editor->Album->text(), "First Album");
    EXPECT_EQ(editor->Genre->currentText(), "Rock");
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(LookupWindow, WithFlacChosenTheTargetsAreFlacFiles)
{
    main->FlacRipp->click();
    lookup->Timer1Timer();
    lookup->BitBtn1->click();
    const QStringList targets = column(AlbumTrack::Target);
    ASSERT_EQ(targets.size(), 3);
    EXPECT_TRUE(targets.first().endsWith("01 - First Album - Some Band - Intro.flac")) << targets.first().toStdString();
    for (const QString& target : targets)
        EXPECT_TRUE(target.endsWith(".flac")) << target.toStdString();
}

// The focus starts on "Appliquer" once there is an answer: Enter applies it.
TEST_F(LookupWindow, EnterAppliesTheAnswer)
{
    lookup->show();
    lookup->Timer1Timer();
    ASSERT_EQ(lookup->focusWidget(), lookup->BitBtn1);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(lookup->focusWidget(), &enter);
    EXPECT_EQ(lookup->result(), QDialog::Accepted);
    EXPECT_EQ(column(AlbumTrack::Title), QStringList({"Intro", "Outro", ""}));
}

TEST_F(LookupWindow, ForbiddenCharactersAreCorrectedBeforeAnythingIsWritten)
{
    http.answers["cddb read rock 0c01ac02"] = Record("rock", "AC?DC / Live: 1991", {"Who*", "Fine"});
    main->WavRipp->setChecked(true);
    lookup->Timer1Timer();
    QStringList shownWith;
    answerRenames({"ACDC", "Live 1991", "Who"}, &shownWith);
    lookup->BitBtn1Click();
    EXPECT_EQ(shownWith, QStringList({"AC?DC", "Live: 1991", "Who*"}));
    EXPECT_EQ(dialogs.texts(), QStringList({ArtistBox, AlbumBox}));
    EXPECT_EQ(dialogs.shown.first().kind, MsgKind::Error);
    const QString folder = musicFolder() + "ACDC/Live 1991/";
    EXPECT_EQ(main->DirectoryText->text(), folder);
    EXPECT_EQ(column(AlbumTrack::Target).value(0), folder + "01 - Live 1991 - ACDC - Who.wav");
    // The correction names the file; the tag keeps the title as the server wrote it.
    EXPECT_EQ(column(AlbumTrack::Title), QStringList({"Who*", "Fine", ""}));
}

TEST_F(LookupWindow, DotNamesCannotLeadOutOfTheMusicFolder)
{
    http.answers["cddb read rock 0c01ac02"] = Record("rock", " .. / . ", {"One"});
    lookup->Timer1Timer();
    QStringList shownWith;
    answerRenames({"Dots", "Dot"}, &shownWith);
    lookup->BitBtn1Click();
    EXPECT_EQ(shownWith, QStringList({"..", "."}));
    const QString why = " ne peut pas être « . » ou « .. » : un dossier de ce nom désignerait le dossier lui-même ou "
                        "le dossier parent. Veuillez donner un autre nom.";
    EXPECT_EQ(dialogs.texts(), QStringList({"Le nom de l'artiste" + why, "Le nom de l'album" + why}));
    EXPECT_EQ(main->DirectoryText->text(), musicFolder() + "Dots/Dot/");
}

TEST_F(LookupWindow, ApplyingWithoutTitlesWritesNothingAndStaysOpen)
{
    const QString folder = main->DirectoryText->text();
    const QStringList targets = column(AlbumTrack::Target);
    lookup->show();
    lookup->BitBtn1->click();
    EXPECT_TRUE(lookup->isVisible());
    EXPECT_EQ(main->DirectoryText->text(), folder);
    EXPECT_EQ(column(AlbumTrack::Target), targets);
    lookup->hide();
}

TEST_F(LookupWindow, CancellingRebuildsTheTargetsAndWritesNothing)
{
    lookup->Timer1Timer();
    main->Sheet().SetValue(1, AlbumTrack::Target, "stale");
    lookup->show();
    MouseInput::Click(lookup->Image1);
    EXPECT_FALSE(lookup->isVisible());
    EXPECT_EQ(lookup->result(), QDialog::Rejected);
    EXPECT_EQ(column(AlbumTrack::Target).value(0), musicFolder() + "01 - Piste 01.mp3");
    EXPECT_EQ(column(AlbumTrack::Artist), QStringList({"", "", ""}));
}

TEST_F(LookupWindow, MainWindowButtonRunsTheLookupModally)
{
    QString statusSeen;
    auto* poll = new QTimer(lookup.get());
    QObject::connect(poll, &QTimer::timeout, lookup.get(), [&] {
        if (!lookup->isVisible() || status() != "Opération terminée.")
            return;
        poll->stop();
        statusSeen = status();
        lookup->BitBtn1->click();
    });
    poll->start(5);
    main->BitBtn1Click();
    EXPECT_FALSE(lookup->isVisible());
    EXPECT_EQ(statusSeen, "Opération terminée.");
    EXPECT_EQ(http.commands.size(), 2);
    EXPECT_EQ(main->DirectoryText->text(), musicFolder() + "Some Band/First Album/");
}
