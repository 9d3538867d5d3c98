#include "platform/TargetNameRule.h"
#include "app/ui/TMain_Form.h"
#include "tags/GenreTable.h"
#include "tags/TMP3Info.h"
#include "tags/ui/TEdit_Tags_Form.h"
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <tuple>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTimer>
#include "disc/AlbumSheet.h"
#include <QTreeView>
#include <gtest/gtest.h>
// After the Qt headers: the fixture uses the window's controls.
#include "support/MainFormFixture.h"

namespace {
const QString Forbidden = QStringLiteral(
    " contient un ou plusieurs caractères interdits par windows. Veuillez corriger en enlevant tous les "
    "caractères / \\ : * ? \" < > | .");

// The main window with a disc of four audio tracks read, and the tag editor.
class EditTags : public MainFormFixture {
protected:
    void SetUp() override
    {
        MainFormFixture::SetUp();
        cdRip.SetAudioToc({0, 100, 200, 300}, 400);
        main = &open();
        choose(0);
        editor = std::make_unique<TEdit_Tags_Form>(forms, services, *main, main);
        ASSERT_EQ(main->Sheet().TrackCount(), 4);
    }
    void TearDown() override { editor.reset(); }
    void set(int k, int v, const QString& text) { main->Sheet().SetValue(k, AlbumTrack::Value(v), text); }
    QString value(int k, int v) const { return main->Sheet().Track(k).value(AlbumTrack::Value(v)); }
    QStringList column(int v) const
    {
        QStringList out;
        for (int k = 1; k <= main->Sheet().TrackCount(); ++k)
            out << value(k, v);
        return out;
    }
    void select(int k) { main->SelectRow(k); }
    // Opens the editor on row k as the main window does, without its modal loop.
    void openOn(int k)
    {
        select(k);
        editor->FillFromSelectedRow();
        editor->show();
    }
    QString defaultFolder() const { return shell.documents + "/Ma musique/"; }

    TMain_Form* main = nullptr;
    std::unique_ptr<TEdit_Tags_Form> editor;
};
} // namespace

TEST_F(EditTags, ShowsItsControlsWithTheirTextsAndLimits)
{
    EXPECT_EQ(forms.Edit_Tags_Form, editor.get());
    EXPECT_EQ(editor->windowTitle(), "Editer les tags");
    EXPECT_EQ(editor->Label2->text(), "Editer les tags :");
    EXPECT_TRUE(editor->Label2->font().bold());
    EXPECT_EQ(editor->Label3->text(), "Titre :");
    EXPECT_EQ(editor->Label4->text(), "Artiste :");
    EXPECT_EQ(editor->Label5->text(), "Album :");
    EXPECT_EQ(editor->Label6->text(), "Genre :");
    EXPECT_EQ(editor->Label7->text(), "Commentaire :");
    EXPECT_EQ(editor->Label8->text(), "Année :");
    EXPECT_EQ(editor->AllSameArtiste->text(), "Même artiste pour toutes.");
    EXPECT_EQ(editor->AllSameGenre->text(), "Même genre pour toutes.");
    EXPECT_EQ(editor->AllSameAlbum->text(), "Même album pour toutes.");
    EXPECT_EQ(editor->AllSameYear->text(), "Même année pour toutes.");
    for (QCheckBox* box : {editor->AllSameArtiste, editor->AllSameGenre, editor->AllSameAlbum, editor->AllSameYear})
        EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(editor->Annuler->text(), "Annuler");
    EXPECT_EQ(editor->Valider->text(), "Valider");
    // Full texts: the ID3v2 tag keeps them whole.
    for (QLineEdit* box : {editor->Titre, editor->Artiste, editor->Album, editor->Commentaire})
        EXPECT_EQ(box->maxLength(), 32767);
    EXPECT_EQ(editor->Annee->maxLength(), 4);
    EXPECT_FALSE(editor->BackGround->pixmap().isNull());
    EXPECT_FALSE(editor->Title_Img->pixmap().isNull());
    EXPECT_EQ(editor->size(), editor->BackGround->pixmap().size());
    EXPECT_EQ(main->MP3Info1().GenreID(), 12);
    EXPECT_EQ(main->MP3Info1().Genre(), "Other");

    // The genre list: the table's names in alphabetical order, showing "Genre".
    QStringList names;
    for (int i = 0; i < editor->Genre->count(); ++i)
        names << editor->Genre->itemText(i);
    EXPECT_EQ(names.size(), 116);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()),
              QSet<QString>(GenreTable::Names().begin(), GenreTable::Names().end()));
    for (int i = 1; i < names.size(); ++i)
        EXPECT_LT(names.at(i - 1).compare(names.at(i), Qt::CaseInsensitive), 0) << names.at(i).toStdString();
    EXPECT_EQ(names.first(), "Acid");
    EXPECT_EQ(editor->Genre->currentText(), "Genre");
    EXPECT_EQ(editor->Genre->currentIndex(), -1);
}

TEST_F(EditTags, OpensOnTheSelectedRowsValues)
{
    const QStringList values = {"", "Intro", "R", "A", "1999", "rock", "c"};
    for (int v = 1; v <= 6; ++v)
        set(2, v, values.at(v));
    set(3, AlbumTrack::Genre, "Zouk");
    // An empty genre leaves the box as it was: "Genre" at first.
    openOn(1);
    EXPECT_EQ(editor->Genre->currentText(), "Genre");
    openOn(2);
    EXPECT_EQ(editor->Titre->text(), "Intro");
    EXPECT_EQ(editor->Artiste->text(), "R");
    EXPECT_EQ(editor->Album->text(), "A");
    EXPECT_EQ(editor->Annee->text(), "1999");
    EXPECT_EQ(editor->Commentaire->text(), "c");
    EXPECT_EQ(editor->Genre->currentText(), "Rock");
    // A name longer than its box is shown from its start.
    EXPECT_EQ(editor->Artiste->cursorPosition(), 0);
    openOn(1);
    EXPECT_EQ(editor->Genre->currentText(), "Rock");
    EXPECT_TRUE(editor->Titre->text().isEmpty());
    // A genre not in the list, such as a CDDB category, selects nothing and shows as it is.
    openOn(3);
    EXPECT_EQ(editor->Genre->currentIndex(), -1);
    EXPECT_EQ(editor->Genre->currentText(), "Zouk");
    // Validated untouched, the row keeps it.
    editor->ValiderClick();
    EXPECT_EQ(value(3, AlbumTrack::Genre), "Zouk");
}

TEST_F(EditTags, AForbiddenCharacterInArtistOrAlbumStopsTheValidation)
{
    const struct { QLineEdit* box; QString text; QString subject; } cases[] = {
        {editor->Artiste, "AC:DC", "Le nom de l'artiste"},
        {editor->Album, "Best?", "Le nom de l'album"},
    };
    openOn(2);
    const QStringList targets = column(AlbumTrack::Target);
    for (const auto& c : cases) {
        dialogs.shown.clear();
        editor->Titre->setText("ok");
        editor->Artiste->setText("ok");
        editor->Album->setText("ok");
        c.box->setText(c.text);
        editor->ValiderClick();
        ASSERT_EQ(dialogs.shown.size(), 1) << c.text.toStdString();
        EXPECT_EQ(dialogs.shown.first().text, c.subject + Forbidden);
        EXPECT_EQ(dialogs.shown.first().kind, MsgKind::Error);
        EXPECT_EQ(dialogs.shown.first().buttons, MsgButtons::Ok);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(column(AlbumTrack::Title), QStringList(4, ""));
        EXPECT_EQ(column(AlbumTrack::Artist), QStringList(4, ""));
        EXPECT_EQ(column(AlbumTrack::Target), targets);
        EXPECT_EQ(main->SelectedSlot(), 2);
    }
    // A folder named ".." would lead out of the music folder: a text of its own.
    const QString dotText = QStringLiteral(" ne peut pas être « . » ou « .. » : un dossier de ce nom désignerait le "
                                           "dossier lui-même ou le dossier parent. Veuillez donner un autre nom.");
    for (const auto& [box, text, subject] : {std::tuple{editor->Artiste, QString(".."), QString("Le nom de l'artiste")},
                                             std::tuple{editor->Album, QString(" . "), QString("Le nom de l'album")}}) {
        dialogs.shown.clear();
        editor->Titre->setText("ok");
        editor->Artiste->setText("ok");
        editor->Album->setText("ok");
        box->setText(text);
        editor->ValiderClick();
        EXPECT_EQ(dialogs.texts(), QStringList{subject + dotText});
        EXPECT_EQ(column(AlbumTrack::Artist), QStringList(4, ""));
    }
    // Title, comment and year name no folder: the tag keeps them whole, the
    // file goes without the characters files cannot hold.
    dialogs.shown.clear();
    editor->Titre->setText("Qui es-tu ?");
    editor->Artiste->setText("R");
    editor->Album->setText("A");
    editor->Commentaire->setText("1/2 \"live\"");
    editor->Annee->setText("9/9");
    editor->ValiderClick();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(value(2, AlbumTrack::Comment), "1/2 \"live\"");
    EXPECT_EQ(value(2, AlbumTrack::Year), "9/9");
    EXPECT_EQ(value(2, AlbumTrack::Title), "Qui es-tu ?");
    EXPECT_TRUE(value(2, AlbumTrack::Target).endsWith("/02 - A - R - Qui es-tu.mp3"))
        << value(2, AlbumTrack::Target).toStdString();
}

TEST_F(EditTags, WithFlacChosenAnEditedTitleNamesAFlacFile)
{
    main->FlacRipp->click();
    openOn(2);
    editor->Titre->setText("T");
    editor->ValiderClick();
    EXPECT_TRUE(value(2, AlbumTrack::Target).endsWith("/02 - T.flac")) << value(2, AlbumTrack::Target).toStdString();
}

TEST_F(EditTags, SpreadsArtistAlbumYearAndGenreToEveryRowWhenTicked)
{
    openOn(2);
    editor->Titre->setText("T");
    editor->Artiste->setText("R");
    editor->Album->setText("A");
    editor->Annee->setText("2001");
    editor->Genre->setCurrentIndex(editor->Genre->findText("Jazz"));
    editor->Commentaire->setText("c");
    editor->ValiderClick();
    EXPECT_EQ(column(AlbumTrack::Title), (QStringList{"", "T", "", ""}));
    EXPECT_EQ(column(AlbumTrack::Artist), QStringList(4, "R"));
    EXPECT_EQ(column(AlbumTrack::Album), QStringList(4, "A"));
    EXPECT_EQ(column(AlbumTrack::Year), QStringList(4, "2001"));
    EXPECT_EQ(column(AlbumTrack::Genre), QStringList(4, "Jazz"));
    EXPECT_EQ(column(AlbumTrack::Comment), (QStringList{"", "c", "", ""}));

    // Unticked: only the selected row; an empty text is written like any other.
    for (QCheckBox* box : {editor->AllSameArtiste, editor->AllSameGenre, editor->AllSameAlbum, editor->AllSameYear})
        box->setChecked(false);
    openOn(3);
    editor->Artiste->setText("S");
    editor->Album->clear();
    editor->Annee->setText("1");
    editor->Genre->setEditText("Zouk");
    editor->ValiderClick();
    EXPECT_EQ(column(AlbumTrack::Artist), (QStringList{"R", "R", "S", "R"}));
    EXPECT_EQ(column(AlbumTrack::Album), (QStringList{"A", "A", "", "A"}));
    EXPECT_EQ(column(AlbumTrack::Year), (QStringList{"2001", "2001", "1", "2001"}));
    EXPECT_EQ(column(AlbumTrack::Genre), (QStringList{"Jazz", "Jazz", "Zouk", "Jazz"}));
    EXPECT_EQ(column(AlbumTrack::Title), (QStringList{"", "T", "", ""}));

    // Ticked with an empty artist: every row loses its artist.
    editor->AllSameArtiste->setChecked(true);
    openOn(1);
    editor->Artiste->clear();
    editor->ValiderClick();
    EXPECT_EQ(column(AlbumTrack::Artist), QStringList(4, ""));
}

TEST_F(EditTags, TheUntouchedGenreTextChangesNoRow)
{
    set(1, AlbumTrack::Genre, "");
    set(3, AlbumTrack::Genre, "Pop");
    openOn(1);
    ASSERT_EQ(editor->Genre->currentText(), "Genre");
    editor->ValiderClick();
    EXPECT_EQ(column(AlbumTrack::Genre), (QStringList{"", "", "Pop", ""}));
    // Typed back by hand it is untouched as well.
    openOn(3);
    editor->Genre->setEditText("Genre");
    editor->ValiderClick();
    EXPECT_EQ(column(AlbumTrack::Genre), (QStringList{"", "", "Pop", ""}));
}

TEST_F(EditTags, RecomputesEveryTargetAndLeavesTheLastRowSelected)
{
    main->DirectoryText->setText("/music/x");
    openOn(2);
    editor->Titre->setText("Intro");
    editor->Artiste->setText("R");
    editor->Album->setText("Live");
    editor->ValiderClick();
    EXPECT_EQ(column(AlbumTrack::Target),
              (QStringList{"/music/x/01 - Live - R - Piste 01.mp3", "/music/x/02 - Live - R - Intro.mp3",
                           "/music/x/03 - Live - R - Piste 03.mp3", "/music/x/04 - Live - R - Piste 04.mp3"}));
    EXPECT_EQ(main->SelectedSlot(), 4);
    EXPECT_EQ(main->DirectoryText->text(), "/music/x");

    main->WavRipp->setChecked(true);
    openOn(1);
    editor->Titre->setText("Ouverture");
    editor->ValiderClick();
    EXPECT_EQ(value(1, AlbumTrack::Target), "/music/x/01 - Live - R - Ouverture.wav");
}

TEST_F(EditTags, TheDefaultFolderFollowsTheArtistAndTheAlbum)
{
    ASSERT_EQ(main->DirectoryText->text(), defaultFolder());
    openOn(1);
    editor->Titre->setText("T");
    editor->Artiste->setText("R");
    editor->Album->setText("A");
    editor->ValiderClick();
    const QString folder = defaultFolder() + "R/A/";
    EXPECT_EQ(main->DirectoryText->text(), folder);
    EXPECT_EQ(column(AlbumTrack::Target),
              (QStringList{folder + "01 - A - R - T.mp3", folder + "02 - A - R - Piste 02.mp3",
                           folder + "03 - A - R - Piste 03.mp3", folder + "04 - A - R - Piste 04.mp3"}));

    // Any other folder, the default with a sub-folder included, stays.
    openOn(2);
    editor->Artiste->setText("Q");
    editor->ValiderClick();
    EXPECT_EQ(main->DirectoryText->text(), folder);

    // Letter case counts; an unticked artist adds only the album.
    main->DirectoryText->setText(defaultFolder().toUpper());
    openOn(2);
    editor->ValiderClick();
    EXPECT_EQ(main->DirectoryText->text(), defaultFolder().toUpper());
    main->DirectoryText->setText(defaultFolder());
    editor->AllSameArtiste->setChecked(false);
    openOn(2);
    editor->ValiderClick();
    EXPECT_EQ(main->DirectoryText->text(), defaultFolder() + "A/");
    EXPECT_EQ(value(3, AlbumTrack::Target), defaultFolder() + "A/03 - A - Q - Piste 03.mp3");
}

TEST_F(EditTags, CancelChangesNothing)
{
    openOn(2);
    const QStringList targets = column(AlbumTrack::Target);
    editor->Titre->setText("T");
    editor->Artiste->setText("R");
    editor->Annuler->click();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(column(AlbumTrack::Title), QStringList(4, ""));
    EXPECT_EQ(column(AlbumTrack::Artist), QStringList(4, ""));
    EXPECT_EQ(column(AlbumTrack::Target), targets);
    EXPECT_EQ(main->DirectoryText->text(), defaultFolder());
}

TEST_F(EditTags, TheMainWindowButtonOpensTheEditorOnlyOnASelectedRow)
{
    bool shown = false;
    QString titleShown;
    auto closeWhenShown = [&] {
        QTimer::singleShot(0, editor.get(), [&] {
            shown = editor->isVisible();
            titleShown = editor->Titre->text();
            editor->Annuler->click();
        });
    };
    main->CibleFiles->clearSelection();
    ASSERT_EQ(main->SelectedSlot(), 0);
    closeWhenShown();
    main->EditTagsButton->click();
    QCoreApplication::processEvents(); // lets the timer find no window
    EXPECT_FALSE(shown);

    set(3, AlbumTrack::Title, "Trois");
    select(3);
    closeWhenShown();
    main->EditTagsButton->click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(titleShown, "Trois");
    EXPECT_FALSE(editor->isVisible());
}

// After a lookup every box is ticked, but for a compilation's artists.
TEST_F(EditTags, ALookedUpCompilationKeepsEachTracksArtist)
{
    const struct {
        const char* albumArtist;
        const char* secondArtist;
        bool sameArtist;
    } cases[] = {{"Les Ondes", "Les Ondes", true}, {"Various Artists", "Mira", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.albumArtist);
        for (QCheckBox* box : {editor->AllSameArtiste, editor->AllSameGenre, editor->AllSameAlbum, editor->AllSameYear})
            box->setChecked(false);
        for (int k = 1; k <= 4; ++k)
            set(k, AlbumTrack::Artist, k == 2 ? c.secondArtist : "Les Ondes");
        AlbumSheet::Album album;
        album.artist = c.albumArtist;
        album.source = "MusicBrainz";
        main->Sheet().SetAlbum(album);
        EXPECT_EQ(editor->AllSameArtiste->isChecked(), c.sameArtist);
        for (QCheckBox* box : {editor->AllSameGenre, editor->AllSameAlbum, editor->AllSameYear})
            EXPECT_TRUE(box->isChecked());
    }
}
