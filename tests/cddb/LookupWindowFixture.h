#pragma once
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


inline const QString ArtistBox = QStringLiteral(
    "Le nom de l'artiste contient un ou plusieurs caractères interdits par windows. Veuillez corriger en enlevant "
    "tous les caractères / \\ : * ? \" < > | .");
inline const QString AlbumBox = QStringLiteral(
    "Le nom de l'album contient un ou plusieurs caractères interdits par windows. Veuillez corriger en enlevant "
    "tous les caractères / \\ : * ? \" < > | .");

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

inline void whenShown(QWidget* window, const std::function<void()>& action, int times = 1)
{
    new ShowWatcher(window, action, times);
}

// Handles pending events until the condition holds; bounded so that a broken
// window ends the test instead of hanging it.
inline bool spinUntil(const std::function<bool()>& condition)
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
        http.answers["cddb read rock 0c01ac02"] =
            CddbAnswers::Record("rock", "Some Band / First Album", {"Intro", "Outro"});
        http.answers["cddb read jazz 0c01ac02"] =
            CddbAnswers::Record("jazz", "Other Band / Other Album", {"Blue", "Green"});
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
