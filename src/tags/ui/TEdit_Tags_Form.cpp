#include "tags/ui/TEdit_Tags_Form.h"
#include "app/TargetNameRule.h"
#include "app/ui/TMain_Form.h"
#include "platform/IDialogService.h"
#include "tags/TMP3Info.h"
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <algorithm>

namespace {
const QString UntouchedGenre = QStringLiteral("Genre");
constexpr int LabelX = 16;
constexpr int FieldX = 116;
constexpr int FieldWidth = 190;
constexpr int BoxX = 320;
constexpr int FirstRowY = 62;
constexpr int RowStep = 34;

int rowY(int line)
{
    return FirstRowY + line * RowStep;
}

QLabel* caption(QWidget* parent, const QString& text, int line)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(LabelX, rowY(line), FieldX - LabelX - 6, 24);
    return label;
}

QLineEdit* edit(QWidget* parent, int maxLength, int line, int width = FieldWidth)
{
    auto* box = new QLineEdit(parent);
    box->setMaxLength(maxLength);
    box->setGeometry(FieldX, rowY(line), width, 24);
    return box;
}

QCheckBox* everyRowBox(QWidget* parent, const QString& text, int line)
{
    auto* box = new QCheckBox(text, parent);
    box->setChecked(true);
    box->setGeometry(BoxX, rowY(line), 200, 24);
    return box;
}
} // namespace

TEdit_Tags_Form::TEdit_Tags_Form(AppForms& forms, const PlatformServices& services, QWidget* parent)
    : CalvenorDialog(forms, services, parent)
{
    m_forms.Edit_Tags_Form = this;
    setWindowTitle(QStringLiteral("Editer les tags"));
    setModal(true);
    buildControls();
    FormCreate();
}

void TEdit_Tags_Form::buildControls()
{
    const QPixmap background(QStringLiteral(":/images/tags_background.png"));
    setFixedSize(background.size());
    BackGround = new QLabel(this);
    BackGround->setPixmap(background);
    BackGround->setGeometry(rect());
    Title_Img = new QLabel(this);
    Title_Img->setPixmap(QPixmap(QStringLiteral(":/images/tags_title.png")));
    Title_Img->setGeometry(10, 3, 40, 40);

    Label2 = new QLabel(QStringLiteral("Editer les tags :"), this);
    MakeBold(Label2);
    Label2->setGeometry(58, 12, 300, 22);

    Label3 = caption(this, QStringLiteral("Titre :"), 0);
    Titre = edit(this, TMP3Info::TextFieldSize, 0);
    Label4 = caption(this, QStringLiteral("Artiste :"), 1);
    Artiste = edit(this, TMP3Info::TextFieldSize, 1);
    AllSameArtiste = everyRowBox(this, QStringLiteral("Même artiste pour toutes."), 1);
    Label5 = caption(this, QStringLiteral("Album :"), 2);
    Album = edit(this, TMP3Info::TextFieldSize, 2);
    AllSameAlbum = everyRowBox(this, QStringLiteral("Même album pour toutes."), 2);

    Label6 = caption(this, QStringLiteral("Genre :"), 3);
    Genre = new QComboBox(this);
    Genre->setEditable(true);
    Genre->setInsertPolicy(QComboBox::NoInsert);
    Genre->setGeometry(FieldX, rowY(3), FieldWidth, 24);
    AllSameGenre = everyRowBox(this, QStringLiteral("Même genre pour toutes."), 3);

    Label7 = caption(this, QStringLiteral("Commentaire :"), 4);
    Commentaire = edit(this, TMP3Info::TextFieldSize, 4);
    Label8 = caption(this, QStringLiteral("Année :"), 5);
    Annee = edit(this, TMP3Info::YearFieldSize, 5, 60);
    AllSameYear = everyRowBox(this, QStringLiteral("Même année pour toutes."), 5);

    Annuler = new QPushButton(QStringLiteral("Annuler"), this);
    Annuler->setGeometry(width() - 200, height() - 46, 88, 28);
    Valider = new QPushButton(QStringLiteral("Valider"), this);
    Valider->setGeometry(width() - 104, height() - 46, 88, 28);
    Valider->setDefault(true);
    connect(Valider, &QPushButton::clicked, this, [this] { ValiderClick(); });
    connect(Annuler, &QPushButton::clicked, this, [this] { AnnulerClick(); });
}

void TEdit_Tags_Form::FormCreate()
{
    QStringList names = mainForm().MP3Info1().Genres();
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    Genre->addItems(names);
    // The list opens on the names that match what the user types.
    Genre->completer()->setCompletionMode(QCompleter::PopupCompletion);
    Genre->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    Genre->setCurrentIndex(-1);
    Genre->setEditText(UntouchedGenre);
}

TMain_Form& TEdit_Tags_Form::mainForm() const
{
    return *m_forms.Main_Form;
}


void TEdit_Tags_Form::FillFromSelectedRow()
{
    const TMain_Form& main = mainForm();
    const QTreeWidgetItem* row = main.TrackItems(main.SelectedSlot());
    if (!row)
        return;
    Titre->setText(TMain_Form::Value(row, TMain_Form::TitleValue));
    Artiste->setText(TMain_Form::Value(row, TMain_Form::ArtistValue));
    Album->setText(TMain_Form::Value(row, TMain_Form::AlbumValue));
    Annee->setText(TMain_Form::Value(row, TMain_Form::YearValue));
    const QString genre = TMain_Form::Value(row, TMain_Form::GenreValue);
    if (!genre.isEmpty()) {
        const int index = Genre->findText(genre, Qt::MatchFixedString);
        Genre->setCurrentIndex(index);
        if (index < 0)
            Genre->setEditText(QString());
    }
    Commentaire->setText(TMain_Form::Value(row, TMain_Form::CommentValue));
}

bool TEdit_Tags_Form::namesAreAllowed()
{
    const std::pair<QLineEdit*, QString> names[] = {{Titre, QStringLiteral("Le titre de la chanson")},
                                                    {Artiste, QStringLiteral("Le nom de l'artiste")},
                                                    {Album, QStringLiteral("Le nom de l'album")}};
    for (const auto& [box, subject] : names) {
        // The artist and the album may become folder names too.
        const bool folderName = box != Titre;
        if (TargetNameRule::FirstForbiddenChar(box->text()) >= 0
            || (folderName && TargetNameRule::IsDotFolderName(box->text()))) {
            m_services.dialogs->message(MsgKind::Error, TargetNameRule::ForbiddenCharactersText(subject), MsgButtons::Ok);
            return false;
        }
    }
    return true;
}

void TEdit_Tags_Form::ValiderClick()
{
    if (!namesAreAllowed())
        return;
    ApplyTagEdits();
    TMain_Form& main = mainForm();
    for (int k = 1; k <= main.RowCount(); ++k) {
        QTreeWidgetItem* row = main.TrackItems(k);
        main.CibleFiles->setCurrentItem(row);
        RecomputeRowTarget(TMain_Form::Value(row, TMain_Form::AlbumValue),
                           TMain_Form::Value(row, TMain_Form::ArtistValue),
                           TMain_Form::Value(row, TMain_Form::TitleValue));
    }
    extendDefaultFolder();
    accept();
}

void TEdit_Tags_Form::extendDefaultFolder()
{
    QLineEdit* folder = mainForm().DirectoryText;
    // Only the untouched default folder follows the artist and the album.
    if (folder->text() != mainForm().DefaultFolder())
        return;
    if (AllSameArtiste->isChecked() && !Artiste->text().isEmpty())
        folder->setText(folder->text() + Artiste->text() + '/');
    if (AllSameAlbum->isChecked() && !Album->text().isEmpty())
        folder->setText(folder->text() + Album->text() + '/');
}

void TEdit_Tags_Form::ApplyTagEdits()
{
    RecomputeRowTarget(Album->text(), Artiste->text(), Titre->text());
    setRowValue(TMain_Form::TitleValue, Titre->text(), false);
    setRowValue(TMain_Form::ArtistValue, Artiste->text(), AllSameArtiste->isChecked());
    setRowValue(TMain_Form::AlbumValue, Album->text(), AllSameAlbum->isChecked());
    setRowValue(TMain_Form::YearValue, Annee->text(), AllSameYear->isChecked());
    if (Genre->currentText() != UntouchedGenre)
        setRowValue(TMain_Form::GenreValue, Genre->currentText(), AllSameGenre->isChecked());
    setRowValue(TMain_Form::CommentValue, Commentaire->text(), false);
}

void TEdit_Tags_Form::setRowValue(int value, const QString& text, bool everyRow)
{
    const TMain_Form& main = mainForm();
    if (!everyRow) {
        // The rows may have gone with the disc while the window was open.
        if (QTreeWidgetItem* row = main.TrackItems(main.SelectedSlot()))
            TMain_Form::SetValue(row, value, text);
        return;
    }
    for (int k = 1; k <= main.RowCount(); ++k)
        TMain_Form::SetValue(main.TrackItems(k), value, text);
}

void TEdit_Tags_Form::RecomputeRowTarget(const QString& album, const QString& artist, const QString& title)
{
    const TMain_Form& main = mainForm();
    QTreeWidgetItem* row = main.TrackItems(main.SelectedSlot());
    if (!row)
        return;
    TMain_Form::SetValue(row, TMain_Form::TargetValue,
                         TargetNameRule::ComposeTargetPath(main.DirectoryText->text(), TMain_Form::Label(row), album,
                                                           artist, title, main.MP3Ripp->isChecked()));
}

void TEdit_Tags_Form::AnnulerClick()
{
    reject();
}
