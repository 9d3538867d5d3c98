#include "about/ui/TAboutForm.h"
#include "app/HelpPage.h"
#include "cddb/ui/TChooseAlbum.h"
#include "cddb/ui/TPreferences_Form.h"
#include "platform/CalvenorError.h"
#include "platform/DesktopOpen.h"
#include "platform/DriveMap.h"
#include "rip/RipVerification.h"
#include "support/MainFormFixture.h"
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>

namespace {
// The main window over fakes, and what its menus and small windows do.
class WindowDetails : public MainFormFixture {
protected:
    QString file(const QString& name)
    {
        QFile f(scratch.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return f.fileName();
    }
    QTemporaryDir scratch;
};
} // namespace

TEST_F(WindowDetails, AnOpenedImageTakesTheNextLetterAndIsRead)
{
    open();
    shell.choices = {QString(), "/musique/album.cue"};
    form->OpenImageExecute(); // cancelled
    EXPECT_EQ(form->DrivesList->count(), 2);
    form->OpenImageExecute();
    EXPECT_EQ(shell.fileTitles.last(), "Ouvrir une image de disque");
    EXPECT_EQ(shell.fileFilters.last(), "Images de disque (*.cue *.toc *.nrg *.CUE *.TOC *.NRG)");
    ASSERT_EQ(form->DrivesList->count(), 3);
    EXPECT_EQ(form->DrivesList->currentText(), "f:\\ — album.cue");
    EXPECT_EQ(form->DriveLetter(), 'f');
    EXPECT_EQ(cdRip.calls.filter("CR_InsertCDROM"), QStringList({"CR_InsertCDROM(2,/musique/album.cue)"}));
    EXPECT_EQ(form->Sheet().TrackCount(), 3) << "the image is read at once";
}

// The real rule: after the letters in use, else the first free one; an image keeps its letter.
TEST_F(WindowDetails, TheNextFreeLetterOfAnImage)
{
    const QString a = file("a.cue"), b = file("b.toc");
    const struct {
        QStringList drives;
        QChar letter;
    } cases[] = {
        {{}, 'd'},
        {{"--drive", "d=/dev/sr0"}, 'e'},
        {{"--drive", "d=/dev/sr0", "--drive", "x=" + b}, 'y'},
        {{"--drive", "y=/dev/sr0"}, 'a'},
        {{"--drive", "d=/dev/sr0", "--drive", "g=" + a}, 'g'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.drives.join(' ').toStdString());
        DriveMap map = DriveMap::FromArguments(c.drives, nullptr, QStringList());
        EXPECT_EQ(map.addImage(a), c.letter);
        EXPECT_EQ(map.source(c.letter), a);
    }
    DriveMap map = DriveMap::FromArguments({}, nullptr, QStringList());
    try {
        map.addImage(file("notes.txt"));
        ADD_FAILURE() << "a text file is no disc image";
    } catch (const CalvenorError& e) {
        EXPECT_TRUE(e.message().contains("notes.txt")) << e.message().toStdString();
    }
}

TEST_F(WindowDetails, EnterClosesTheAboutWindowInsteadOfFollowingALink)
{
    open();
    TAboutForm about(forms, services, form.get());
    about.show();
    QApplication::setActiveWindow(&about);
    QWidget* focused = about.focusWidget();
    ASSERT_EQ(focused, about.ButtonClose);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(focused, &enter);
    EXPECT_FALSE(about.isVisible());
    EXPECT_TRUE(shell.opened.isEmpty());
}

TEST_F(WindowDetails, EachMenuHasAnAltLetterOfItsOwn)
{
    open();
    QStringList letters;
    for (QAction* menu : form->menuBar()->actions()) {
        const QString text = menu->text();
        const qsizetype amp = text.indexOf('&');
        ASSERT_GE(amp, 0) << text.toStdString();
        letters << text.mid(amp + 1, 1).toLower();
    }
    letters.removeDuplicates();
    EXPECT_EQ(letters.size(), form->menuBar()->actions().size()) << letters.join(' ').toStdString();
}

TEST_F(WindowDetails, TheNameTemplatesCodesAreExplainedOneALine)
{
    TPreferences_Form preferences(forms, services);
    const QStringList lines = preferences.ModeleNom->toolTip().split('\n');
    EXPECT_EQ(lines.size(), 10);
    EXPECT_EQ(lines.first(), "%A : artiste de l'album");
    for (const QString& line : lines)
        EXPECT_LE(line.size(), 40) << line.toStdString();
}

// "Voir le rapport", F1 and the folder button say it when nothing can open what they open.
TEST_F(WindowDetails, AMissingViewerIsSaidInFrench)
{
    open();
    shell.opens = false;
    EXPECT_FALSE(DesktopOpen::Open(shell, dialogs, "/x/Rapport.log"));
    form->DirectoryText->setText(scratch.path() + "/");
    form->BitBtn5Click();
    ASSERT_EQ(dialogs.texts().size(), 2);
    EXPECT_EQ(dialogs.texts().first(), "Aucune application n'est disponible pour ouvrir « /x/Rapport.log ».");
    EXPECT_EQ(dialogs.texts().last(), DesktopOpen::NoViewerText(form->DirectoryText->text()));
    shell.opens = true;
    dialogs.shown.clear();
    EXPECT_TRUE(DesktopOpen::Open(shell, dialogs, "/x/Rapport.log"));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(WindowDetails, TheAlbumChoiceShowsEachWholeLine)
{
    TChooseAlbum albums(forms, services);
    const QStringList lines{"Les Musiciens / Œuvres d'été (live à Bruxelles, 1998, édition remastérisée)",
                            "Les Musiciens / Œuvres d'été (live à Lyon, 2001)"};
    albums.SetChoices(lines);
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(albums.Liste->itemData(i, Qt::ToolTipRole).toString(), lines.at(i));
    EXPECT_EQ(albums.Liste->toolTip(), lines.first());
    const QFontMetrics metrics(albums.Liste->view()->font());
    EXPECT_GE(albums.Liste->view()->minimumWidth(), metrics.horizontalAdvance(lines.first()));
}

// The verification and cover servers are kept as given, checked as the others are, and asked by the window's rips.
TEST_F(WindowDetails, PreferencesKeepTheCoverAndVerificationServers)
{
    TPreferences_Form preferences(forms, services);
    preferences.ShowDefaultServers("http://ar.example/accuraterip", "https://ctdb.example");
    preferences.ModeleNom->setText(settings.FileNameTemplate()); // as shown
    EXPECT_EQ(preferences.ServeurCtdb->placeholderText(), "https://ctdb.example");
    const struct {
        QLineEdit* box;
        QString (Settings::*saved)() const;
    } servers[] = {{preferences.ServeurPochettes, &Settings::CoverServer},
                   {preferences.ServeurAccurateRip, &Settings::AccurateRipServer},
                   {preferences.ServeurCtdb, &Settings::CtdbServer}};
    for (const auto& s : servers) {
        s.box->setText("ftp://127.0.0.1:9");
        preferences.EnregistrerClick();
        EXPECT_EQ(dialogs.texts().last(), "L'adresse du serveur « ftp://127.0.0.1:9 » doit commencer par http:// ou https://.");
        EXPECT_EQ((settings.*s.saved)(), QString());
        s.box->setText(" http://127.0.0.1:8080/x ");
    }
    preferences.EnregistrerClick();
    for (const auto& s : servers)
        EXPECT_EQ((settings.*s.saved)(), "http://127.0.0.1:8080/x");

    internet.connected = true;
    const RipVerification v = RipVerification::Online(nullptr, &internet, DiscToc(), &settings);
    EXPECT_EQ(v.Server, "http://127.0.0.1:8080/x");
    EXPECT_EQ(v.CtdbServer, "http://127.0.0.1:8080/x");
}
