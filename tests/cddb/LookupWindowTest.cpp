#include "CddbAnswers.h"
#include "FakeCdAudioDevice.h"
#include "cddb/TCDDBConnect.h"
#include "cddb/ui/TChooseAlbum.h"
#include "cddb/ui/TConnexion_CDDB_Form.h"
#include "cddb/ui/TEmail_Form.h"
#include "cddb/ui/TPreferences_Form.h"
#include "cddb/ui/TRename_Track.h"
#include "disc/AlbumSheet.h"
#include "support/FakeHttpClient.h"
#include "support/MouseInput.h"
#include "tags/ui/TEdit_Tags_Form.h"
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>
// After the Qt headers: the fixture uses the window's controls.
#include "support/MainFormFixture.h"

namespace {
const QString ArtistBox = QStringLiteral(
    "Le nom de l'artiste contient un ou plusieurs caractères interdits par windows. Veuillez corriger en enlevant "
    "tous les caractères / \\ : * ? \" < > | .");
const QString AlbumBox = QStringLiteral(
    "Le nom de l'album contient un ou plusieurs caractères interdits par windows. Veuillez corriger en enlevant "
    "tous les caractères / \\ : * ? \" < > | .");
using CddbAnswers::Record;

// Runs `action` in the window's own loop each time the window is shown, up
// to `times` times: modal windows run their own loop. The action closes the
// window first and only records what it saw, so a failing check cannot
// leave it open.
class ShowWatcher : public QObject {
public:
    ShowWatcher(QWidget* window, std::function<void()> action, int times)
        : QObject(window), m_action(std::move(action)), m_left(times)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show && m_left > 0) {
            --m_left;
            QTimer::singleShot(0, this, m_action);
        }
        return false;
    }

private:
    std::function<void()> m_action;
    int m_left;
};

void whenShown(QWidget* window, const std::function<void()>& action, int times = 1)
{
    new ShowWatcher(window, action, times);
}

// Handles pending events until the condition holds; bounded so that a broken
// window ends the test instead of hanging it.
bool spinUntil(const std::function<bool()>& condition)
{
    QDeadlineTimer deadline(20000);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

// The main window with a disc of three audio tracks in d (the worked example
// as the CD audio device reads it), the tag editor, the rename window and the
// two CDDB windows; the server is scripted.
class LookupWindow : public MainFormFixture {
protected:
    void SetUp() override
    {
        MainFormFixture::SetUp();
        device.tocs["/dev/sr0"] = {{150, 14262}, 14262 + 18000 + 1};
        services.cdAudio = &device;
        services.http = &http;
        settings.SetEmail("jean.dupont@exemple.fr");
        main = &open();
        choose(0); // no connection yet: no question
        internet.connected = true;
        editor = std::make_unique<TEdit_Tags_Form>(forms, services, *main, main);
        rename = std::make_unique<TRename_Track>(forms, services, main);
        chooser = std::make_unique<TChooseAlbum>(forms, services, main);
        lookup = std::make_unique<TConnexion_CDDB_Form>(forms, services, *main, main);
        ASSERT_EQ(main->Sheet().TrackCount(), 3);
        http.answers["cddb query"] = CddbAnswers::Exact;
        http.answers["cddb read rock 0c01ac02"] = Record("rock", "Some Band / First Album", {"Intro", "Outro"});
        http.answers["cddb read jazz 0c01ac02"] = Record("jazz", "Other Band / Other Album", {"Blue", "Green"});
    }
    void TearDown() override
    {
        lookup.reset();
        chooser.reset();
        rename.reset();
        editor.reset();
    }
    QString status() const { return lookup->Label1->text(); }
    int progress() const { return lookup->ProgressBar1->value(); }
    QStringList found() const
    {
        QStringList out;
        for (int i = 0; i < lookup->ListBox1->count(); ++i)
            out << lookup->ListBox1->item(i)->text();
        return out;
    }
    // One value of every track of the main window's album sheet.
    QStringList column(AlbumTrack::Value value) const
    {
        QStringList out;
        for (const AlbumTrack& track : main->Sheet().Tracks())
            out << track.value(value);
        return out;
    }
    // Answers the rename window with the given texts in turn; the texts it
    // was opened with go to *shownWith.
    void answerRenames(const QStringList& replies, QStringList* shownWith)
    {
        auto next = std::make_shared<int>(0);
        whenShown(
            rename.get(),
            [=] {
                *shownWith << rename->ModifyText->text();
                rename->ModifyText->setText(replies.value(*next));
                ++*next;
                rename->ModifyButton->click();
            },
            int(replies.size()));
    }
    QString musicFolder() const { return shell.documents + "/Ma musique/"; }

    FakeCdAudioDevice device;
    FakeHttpClient http;
    TMain_Form* main = nullptr;
    std::unique_ptr<TEdit_Tags_Form> editor;
    std::unique_ptr<TRename_Track> rename;
    std::unique_ptr<TChooseAlbum> chooser;
    std::unique_ptr<TConnexion_CDDB_Form> lookup;
};

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
} // namespace

// The request runs off the window's thread: the window takes the click on
// "Annuler" while the server is silent, and closes at once.
TEST_F(LookupWindow, ClosingTheWindowCancelsItsRequestAtOnce)
{
    http.silent = true;
    QElapsedTimer sinceCancel;
    auto* poll = new QTimer(lookup.get());
    QObject::connect(poll, &QTimer::timeout, lookup.get(), [&] {
        if (status() != "Récupération des données du serveur..." || sinceCancel.isValid())
            return;
        sinceCancel.start();
        lookup->BitBtn2->click();
    });
    poll->start(5);
    lookup->ShowModal();
    ASSERT_TRUE(sinceCancel.isValid());
    EXPECT_LT(sinceCancel.elapsed(), 200);
    EXPECT_FALSE(lookup->isVisible());
    EXPECT_EQ(lookup->ProgressBar1->value(), 66);
    EXPECT_EQ(status(), "Récupération des données du serveur...");
    EXPECT_TRUE(dialogs.shown.isEmpty()) << "a cancelled request is no error";
}

TEST_F(LookupWindow, CancelledBeforeTheLookupStartsAsksNothing)
{
    lookup->FormShow();
    lookup->show();
    ASSERT_TRUE(lookup->Timer1->isActive());
    lookup->close(); // the window frame's close box
    EXPECT_FALSE(lookup->Timer1->isActive());
    QEventLoop wait;
    QTimer::singleShot(700, &wait, &QEventLoop::quit);
    wait.exec();
    EXPECT_TRUE(http.commands.isEmpty());
}

TEST_F(LookupWindow, TheFirstLookupAsksForTheAddressAndKeepsIt)
{
    settings.SetEmail(QString());
    QStringList errors;
    whenShown(
        lookup->EmailForm(),
        [&] {
            lookup->EmailForm()->Adresse->setText("jean");
            lookup->EmailForm()->Enregistrer->click(); // refused: stays open
            errors = dialogs.texts();
            lookup->EmailForm()->Adresse->setText(" marie@exemple.org ");
            lookup->EmailForm()->Enregistrer->click();
        });
    lookup->Timer1Timer();
    EXPECT_EQ(errors, QStringList({"« jean » n'est pas une adresse électronique valide. Donnez une adresse de la forme "
                                   "jean.dupont@exemple.fr."}));
    EXPECT_EQ(settings.Email(), "marie@exemple.org");
    EXPECT_TRUE(http.urls.first().endsWith("&hello=marie+exemple.org+Calvenor+1.2.0&proto=6"));
    EXPECT_EQ(status(), "Opération terminée.");

    // Without an address nothing is asked of any server.
    settings.SetEmail(QString());
    main->DiscIdText.clear();
    http.urls.clear();
    whenShown(lookup->EmailForm(), [&] { lookup->EmailForm()->Annuler->click(); });
    lookup->Timer1Timer();
    EXPECT_TRUE(http.urls.isEmpty());
    EXPECT_EQ(status(), "Opération annulée.");
}

// CDDB's "no match" is not shown when MusicBrainz knows the disc. Both ask
// by the table of contents read when the disc was listed.
TEST_F(LookupWindow, MusicBrainzAnswersWhenCddbHasNoRecord)
{
    const int reads = device.opened;
    QFile json(CALVENOR_SOURCE_DIR "/tests/cddb/records/musicbrainz/g0xMXjKMt8aCFXrW9aedO0gMeoE-.json");
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    http.musicBrainz["g0xMXjKMt8aCFXrW9aedO0gMeoE-"] = json.readAll();
    http.answers["cddb query"] = CddbAnswers::NoMatch;
    QString title;
    whenShown(chooser.get(), [&] {
        title = chooser->Label1->text();
        chooser->Liste->setCurrentIndex(1);
        chooser->ChoiseBTN->click();
    });
    lookup->Timer1Timer();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(title, "Plusieur albums possibles :");
    EXPECT_EQ(lookup->Album->text(), "First Album (remaster)");
    EXPECT_EQ(found(), QStringList({"Intro", "Second Song"}));
    EXPECT_EQ(status(), "Opération terminée.");
    EXPECT_EQ(device.opened, reads) << "the lookup read the disc again";
}

// A various-artists album shows each track's artist beside its title, and
// the sheet takes it as the track's own.
TEST_F(LookupWindow, EachTracksArtistIsShownAndApplied)
{
    http.answers["cddb read rock 0c01ac02"] = Record("rock", "Various / Nuits blanches", {"Mira / L'aube", "Minuit"});
    lookup->Timer1Timer();
    EXPECT_EQ(found(), QStringList({"Mira / L'aube", "Minuit"}));
    lookup->BitBtn1Click();
    // The record names two of the disc's three tracks.
    EXPECT_EQ(column(AlbumTrack::Artist), QStringList({"Mira", "Various", "Various"}));
    EXPECT_EQ(column(AlbumTrack::Title), QStringList({"L'aube", "Minuit", ""}));
}

// Control characters and overlong names from a server: the names made of
// them are real, creatable files.
TEST_F(LookupWindow, HostileNamesGiveFilesThatCanBeMade)
{
    QTemporaryDir documents;
    shell.documents = documents.path();
    main->DirectoryText->setText(musicFolder());
    const QString longAlbum = QString(300, QChar(0x00E9)); // 600 bytes in UTF-8
    http.answers["cddb read rock 0c01ac02"] =
        Record("rock", QStringLiteral("Es\x1B[31mc\tape\x7F / ") + longAlbum, {"Ti\x01tle", "Two"});
    lookup->Timer1Timer();
    lookup->BitBtn1Click();
    const QString folder = main->DirectoryText->text();
    const QString target = column(AlbumTrack::Target).value(0);
    EXPECT_TRUE(folder.startsWith(musicFolder() + "Es[31mcape/")) << folder.toStdString();
    EXPECT_TRUE(target.startsWith(folder)) << target.toStdString();
    for (const QString& part : target.split('/')) {
        EXPECT_LE(part.toUtf8().size(), 255);
        for (const QChar c : part)
            EXPECT_FALSE(c.unicode() < 0x20 || c.unicode() == 0x7F) << target.toStdString();
    }
    EXPECT_TRUE(target.endsWith(".wav") || target.endsWith(".mp3")) << target.toStdString(); // extension kept
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(target);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << file.errorString().toStdString();
}

TEST_F(LookupWindow, PreferencesFromTheCalvenorMenuChangeAddressServersAndOrder)
{
    TPreferences_Form preferences(forms, services, main);
    EXPECT_EQ(main->Calvenor_Preferences->text(), "Préférences");
    QStringList errors;
    QString shownAddress;
    bool rememberShown = true;
    bool replayGainShown = false;
    whenShown(&preferences, [&] {
        shownAddress = preferences.Adresse->text();
        rememberShown = preferences.RememberChoices->isChecked();
        replayGainShown = preferences.ReplayGain->isChecked();
        preferences.ReplayGain->setChecked(false);
        preferences.ServeurCddb->setText("ftp://cddb.exemple.fr");
        preferences.Enregistrer->click(); // refused: stays open
        errors = dialogs.texts();
        preferences.Adresse->setText("paul@exemple.be");
        preferences.ServeurCddb->setText("http://cddb.exemple.fr/~cddb");
        preferences.MusicBrainzFirst->setChecked(true);
        preferences.RememberChoices->setChecked(true);
        preferences.Enregistrer->click();
    });
    main->Calvenor_Preferences->trigger();
    EXPECT_EQ(shownAddress, "jean.dupont@exemple.fr");
    EXPECT_EQ(errors, QStringList({"L'adresse du serveur « ftp://cddb.exemple.fr » doit commencer par http:// ou "
                                   "https://."}));
    const Settings reread(settings.FileName());
    EXPECT_EQ(reread.Email(), "paul@exemple.be");
    EXPECT_EQ(reread.CddbServer(), "http://cddb.exemple.fr/~cddb");
    EXPECT_TRUE(reread.MusicBrainzFirst());
    EXPECT_FALSE(rememberShown) << "off until the user turns it on";
    EXPECT_TRUE(reread.RememberChoices());
    EXPECT_TRUE(replayGainShown) << "on until the user turns it off";
    EXPECT_FALSE(reread.ReplayGain());
    EXPECT_EQ(lookup->CddbServer(), "http://cddb.exemple.fr/~cddb");
}

// The box previews the first track by the template typed, refuses a bad one,
// and a saved template renames the rows; a lookup then adds no folder of its own.
TEST_F(LookupWindow, TheNameTemplateOfThePreferencesPreviewsAndRenamesTheTracks)
{
    TPreferences_Form preferences(forms, services, main);
    const QString extension = main->OutputExtension();
    QStringList previews;
    QStringList errors;
    whenShown(&preferences, [&] {
        previews << preferences.ApercuNom->text();
        preferences.ModeleNom->setText("%n %x");
        previews << preferences.ApercuNom->text();
        preferences.Enregistrer->click(); // refused: stays open
        errors = dialogs.texts();
        preferences.ModeleNom->setText("%A/%d/%n %t");
        preferences.Enregistrer->click();
    });
    main->Calvenor_Preferences->trigger();
    const QString unknown = "Le modèle de nom de fichier contient « %x », qui n'est pas un champ connu. Champs "
                            "possibles : %A, %a, %d, %y, %g, %n, %N, %t et %%.";
    EXPECT_EQ(previews, QStringList({"Aperçu : 01 - Piste 01" + extension, unknown}));
    EXPECT_EQ(errors, QStringList({unknown}));
    EXPECT_EQ(Settings(settings.FileName()).FileNameTemplate(), "%A/%d/%n %t");
    EXPECT_EQ(column(AlbumTrack::Target).value(1), musicFolder() + "Inconnu/Inconnu/02 Piste 02" + extension);

    lookup->Timer1Timer();
    lookup->BitBtn1Click();
    EXPECT_EQ(main->DirectoryText->text(), musicFolder());
    EXPECT_EQ(column(AlbumTrack::Target).value(1), musicFolder() + "Some Band/First Album/02 Outro" + extension);
}
