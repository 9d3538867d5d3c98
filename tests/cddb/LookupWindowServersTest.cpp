#include "LookupWindowFixture.h"

using CddbAnswers::Record;

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
