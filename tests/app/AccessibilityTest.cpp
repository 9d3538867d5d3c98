#include "about/ui/TAboutForm.h"
#include "cddb/ui/TChooseAlbum.h"
#include "cddb/ui/TConnexion_CDDB_Form.h"
#include "cddb/ui/TEmail_Form.h"
#include "cddb/ui/TPreferences_Form.h"
#include "cddb/ui/TRename_Track.h"
#include "encode/ui/TConvert_Form.h"
#include "encode/ui/TEncode_Options_Form.h"
#include "platform/ui/EventWatcher.h"
#include "rip/ui/TRippageEnCour.h"
#include "support/MainFormFixture.h"
#include "tags/ui/TEdit_Tags_Form.h"
#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>
#include "disc/AlbumSheet.h"
#include <QTreeView>
#include <functional>

namespace {
QString accessible(QWidget* w, QAccessible::Text kind)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(kind) : QString();
}

// What a user acts on or reads a value from; the parts inside a control are left out.
bool isControl(QWidget* w)
{
    if (qobject_cast<QScrollBar*>(w) || qobject_cast<QHeaderView*>(w) || qobject_cast<QComboBox*>(w->parentWidget()))
        return false;
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w)
           || qobject_cast<QAbstractItemView*>(w) || qobject_cast<QAbstractSlider*>(w) || qobject_cast<QProgressBar*>(w)
           || EventWatcher::ClickableOf(w);
}

bool isPictureOnly(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text().isEmpty();
    auto* button = qobject_cast<QAbstractButton*>(w);
    return button && button->text().trimmed().isEmpty();
}

// b comes after a when read line by line, left to right.
bool readsAfter(const QRect& a, const QRect& b)
{
    constexpr int slack = 4;
    const bool sameLine = b.top() < a.bottom() && a.top() < b.bottom();
    return b.top() >= a.bottom() - slack || (sameLine && b.left() >= a.right() - slack);
}

void pressKey(QWidget* w, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
}

// All the windows over fakes, created as the program creates them.
class Accessibility : public MainFormFixture {
protected:
    void SetUp() override
    {
        MainFormFixture::SetUp();
        TMain_Form& main = open();
        tags = std::make_unique<TEdit_Tags_Form>(forms, services, main, &main);
        options = std::make_unique<TEncode_Options_Form>(forms, services, main.LameCoder1(), &main);
        lookup = std::make_unique<TConnexion_CDDB_Form>(forms, services, main, &main);
        ripping = std::make_unique<TRippageEnCour>(forms, services, main, &main);
        about = std::make_unique<TAboutForm>(forms, services, &main);
        albums = std::make_unique<TChooseAlbum>(forms, services, &main);
        rename = std::make_unique<TRename_Track>(forms, services, &main);
        convert = std::make_unique<TConvert_Form>(forms, services, &main);
        preferences = std::make_unique<TPreferences_Form>(forms, services, &main);
        email = std::make_unique<TEmail_Form>(forms, services, &main);
        // The player pictures show only in use; here they are all checked.
        for (QLabel* picture : {main.Play_Blue, main.Pause_Blue, main.Stop_Blue})
            picture->show();
    }
    void TearDown() override
    {
        email.reset(), preferences.reset();
        convert.reset(), rename.reset(), albums.reset(), about.reset(), ripping.reset(), lookup.reset();
        options.reset(), tags.reset();
        MainFormFixture::TearDown();
    }
    QList<QWidget*> windows() const
    {
        return {form.get(), tags.get(), options.get(), lookup.get(), ripping.get(),
                about.get(), albums.get(), rename.get(), convert.get(), preferences.get(), email.get()};
    }
    static QList<QWidget*> controlsOf(QWidget* window)
    {
        QList<QWidget*> controls;
        for (QWidget* w : window->findChildren<QWidget*>())
            if (w->window() == window && w->isVisibleTo(window) && isControl(w))
                controls << w;
        return controls;
    }
    // The controls Tab visits, in order.
    static QList<QWidget*> tabChain(QWidget* window)
    {
        QList<QWidget*> chain;
        for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
            if (w->window() == window && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && w->isVisibleTo(window)
                && w->isEnabled())
                chain << w;
        return chain;
    }

    std::unique_ptr<TEdit_Tags_Form> tags;
    std::unique_ptr<TEncode_Options_Form> options;
    std::unique_ptr<TConnexion_CDDB_Form> lookup;
    std::unique_ptr<TRippageEnCour> ripping;
    std::unique_ptr<TAboutForm> about;
    std::unique_ptr<TChooseAlbum> albums;
    std::unique_ptr<TRename_Track> rename;
    std::unique_ptr<TConvert_Form> convert;
    std::unique_ptr<TPreferences_Form> preferences;
    std::unique_ptr<TEmail_Form> email;
};
} // namespace

TEST_F(Accessibility, EveryControlIsNamedAndEveryPictureDescribed)
{
    for (QWidget* window : windows()) {
        for (QWidget* control : controlsOf(window)) {
            SCOPED_TRACE(QString("%1 %2").arg(window->metaObject()->className(), control->metaObject()->className())
                             .toStdString());
            EXPECT_FALSE(accessible(control, QAccessible::Name).trimmed().isEmpty());
            if (isPictureOnly(control)) {
                EXPECT_FALSE(accessible(control, QAccessible::Description).isEmpty());
            }
        }
    }
}

TEST_F(Accessibility, EveryWindowHasATitleOfItsOwn)
{
    QStringList titles;
    for (QWidget* window : windows())
        titles << window->windowTitle();
    titles.removeDuplicates();
    EXPECT_EQ(titles.size(), windows().size()) << titles.join(", ").toStdString();
}

TEST_F(Accessibility, PicturesHaveFrenchNamesAndPressLikeButtons)
{
    const struct {
        QWidget* picture;
        QString name;
    } cases[] = {
        {form->Play_Blue, "Lire la piste"},
        {form->Pause_Blue, "Avancer"},
        {form->Stop_Blue, "Arrêter la lecture"},
        {ripping->Image1, "Arrêter le rippage"},
        {form->BitBtn4, "Dossier parent"},
        {form->BitBtn3, "Parcourir"},
        {form->BitBtn5, "Ouvrir le répertoire cible"},
        {lookup->Image1, "Fermer"},
        {albums->Image2, "Fermer"},
        {convert->Explore, "Parcourir"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(c.picture);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->text(QAccessible::Name), c.name);
        EXPECT_EQ(iface->role(), QAccessible::Button);
        EXPECT_TRUE(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        EXPECT_TRUE(c.picture->focusPolicy() & Qt::TabFocus);
        if (EventWatcher* watcher = EventWatcher::ClickableOf(c.picture)) {
            // Counted in place of the window's handler.
            int clicks = 0;
            QObject::disconnect(watcher, &EventWatcher::clicked, nullptr, nullptr);
            QObject::connect(watcher, &EventWatcher::clicked, [&] { ++clicks; });
            pressKey(c.picture, Qt::Key_Space);
            iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            EXPECT_EQ(clicks, 2) << "Space and the screen reader's press";
        }
    }
    EXPECT_EQ(accessible(form->RED_CD, QAccessible::Name), "Pas de CD");
    EXPECT_EQ(accessible(form->GREEN_CD, QAccessible::Name), "CD présent");
    EXPECT_EQ(accessible(options->WriteVBRHeaderCheck, QAccessible::Name), "Écrire l'en-tête VBR");
}

TEST_F(Accessibility, TabVisitsEveryControlInReadingOrder)
{
    for (QWidget* window : windows()) {
        SCOPED_TRACE(window->metaObject()->className());
        const QList<QWidget*> chain = tabChain(window);
        for (QWidget* control : controlsOf(window)) {
            if (!qobject_cast<QProgressBar*>(control)) {
                EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus) << accessible(control, QAccessible::Name).toStdString();
            }
        }
        for (int i = 1; i < chain.size(); ++i) {
            const QRect a(chain[i - 1]->mapTo(window, QPoint()), chain[i - 1]->size());
            const QRect b(chain[i]->mapTo(window, QPoint()), chain[i]->size());
            EXPECT_TRUE(readsAfter(a, b)) << accessible(chain[i - 1], QAccessible::Name).toStdString() << " -> "
                                          << accessible(chain[i], QAccessible::Name).toStdString();
        }
    }
}

TEST_F(Accessibility, TrackListAnnouncesEachRowsTick)
{
    choose(0);
    ASSERT_EQ(form->Sheet().TrackCount(), 3);
    // Space ticks and unticks the current row, whichever of its cells was clicked.
    for (int column : {0, 3, 0}) {
        const bool wasTicked = form->Sheet().Track(2).ticked;
        form->CibleFiles->setCurrentIndex(form->CibleFiles->model()->index(1, column));
        pressKey(form->CibleFiles, Qt::Key_Space);
        ASSERT_NE(form->Sheet().Track(2).ticked, wasTicked) << "column " << column;
    }
    QCoreApplication::processEvents(); // the list lays its rows out
    QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(form->CibleFiles)->tableInterface();
    ASSERT_NE(table, nullptr);
    for (int row = 0; row < 3; ++row) {
        QAccessibleInterface* cell = table->cellAt(row, 0);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text(QAccessible::Name), QString("Piste 0%1").arg(row + 1));
        EXPECT_TRUE(cell->state().checkable);
        EXPECT_EQ(bool(cell->state().checked), form->Sheet().Track(row + 1).ticked) << row;
    }
    EXPECT_TRUE(table->cellAt(1, 0)->state().checked);
}

// Escape closes the lookup and the album choice, from the control that has
// the focus, and chooses no album.
TEST_F(Accessibility, EscapeClosesTheLookupAndTheAlbumChoice)
{
    albums->SetChoices({"rock 0c01ac02 A / B", "jazz 0c01ac02 C / D"});
    const std::pair<QDialog*, QWidget*> cases[] = {{lookup.get(), lookup->ListBox1}, {albums.get(), albums->Liste}};
    for (const auto& [window, focused] : cases) {
        SCOPED_TRACE(window->metaObject()->className());
        window->show();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
        QCoreApplication::sendEvent(focused, &escape);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(window->result(), QDialog::Rejected);
    }
    EXPECT_EQ(albums->ChosenIndex(), -1);
}
