#include "tags/ui/TEdit_Tags_Form.h"
#include "platform/TargetNameRule.h"
#include "platform/IDialogService.h"
#include "disc/AlbumSheet.h"
#include "disc/ITrackTable.h"
#include "tags/GenreTable.h"
#include "tags/TMP3Info.h"
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

// A line edit's own limit.
constexpr int FullTextLength = 32767;

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

TEdit_Tags_Form::TEdit_Tags_Form(AppForms& forms, const PlatformServices& services, ITrackTable& rows,
                                 QWidget* parent)
    : CalvenorDialog(forms, services, parent), m_rows(rows)
{
    m_forms.Edit_Tags_Form = this;
    setWindowTitle(QStringLiteral("Editer les tags"));
    setModal(true);
    buildControls();
    FormCreate();
    // A lookup's album is meant for every track: the editor offers to keep it
    // so, but for a compilation's artists, which are each track's own.
    connect(&m_rows.Sheet(), &AlbumSheet::AlbumChanged, this, [this] {
        const AlbumSheet& sheet = m_rows.Sheet();
        if (sheet.AlbumValues().source.isEmpty())
            return;
        for (QCheckBox* everyRow : {AllSameAlbum, AllSameGenre, AllSameYear})
            everyRow->setChecked(true);
        AllSameArtiste->setChecked(!AlbumSheet::HasTrackArtists(sheet.AlbumValues(), sheet.Tracks()));
    });
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
    // Names and comment go in full into the ID3v2 tag; the ID3v1 trailer cuts them.
    Titre = edit(this, FullTextLength, 0);
    Label4 = caption(this, QStringLiteral("Artiste :"), 1);
    Artiste = edit(this, FullTextLength, 1);
    AllSameArtiste = everyRowBox(this, QStringLiteral("Même artiste pour toutes."), 1);
    Label5 = caption(this, QStringLiteral("Album :"), 2);
    Album = edit(this, FullTextLength, 2);
    AllSameAlbum = everyRowBox(this, QStringLiteral("Même album pour toutes."), 2);

    Label6 = caption(this, QStringLiteral("Genre :"), 3);
    Genre = new QComboBox(this);
    Genre->setEditable(true);
    Genre->setInsertPolicy(QComboBox::NoInsert);
    Genre->setGeometry(FieldX, rowY(3), FieldWidth, 24);
    AllSameGenre = everyRowBox(this, QStringLiteral("Même genre pour toutes."), 3);

    Label7 = caption(this, QStringLiteral("Commentaire :"), 4);
    Commentaire = edit(this, FullTextLength, 4);
    Label8 = caption(this, QStringLiteral("Année :"), 5);
    Annee = edit(this, TMP3Info::YearFieldSize, 5, 60);
    AllSameYear = everyRowBox(this, QStringLiteral("Même année pour toutes."), 5);

    Annuler = new QPushButton(QStringLiteral("Annuler"), this);
    Annuler->setGeometry(width() - 200, height() - 46, 88, 28);
    Valider = new QPushButton(QStringLiteral("Valider"), this);
    Valider->setGeometry(width() - 104, height() - 46, 88, 28);
    Valider->setDefault(true);
    const std::pair<QWidget*, QString> names[] = {
        {Titre, QStringLiteral("Titre")},     {Artiste, QStringLiteral("Artiste")},
        {Album, QStringLiteral("Album")},     {Genre, QStringLiteral("Genre")},
        {Commentaire, QStringLiteral("Commentaire")}, {Annee, QStringLiteral("Année")}};
    for (const auto& [box, name] : names)
        box->setAccessibleName(name);
    connect(Valider, &QPushButton::clicked, this, [this] { ValiderClick(); });
    connect(Annuler, &QPushButton::clicked, this, [this] { AnnulerClick(); });
}

void TEdit_Tags_Form::FormCreate()
{
    QStringList names = GenreTable::Names();
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    Genre->addItems(names);
    // The list opens on the names that match what the user types.
    Genre->completer()->setCompletionMode(QCompleter::PopupCompletion);
    Genre->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    Genre->setCurrentIndex(-1);
    Genre->setEditText(UntouchedGenre);
}


void TEdit_Tags_Form::FillFromSelectedRow()
{
    const int k = m_rows.SelectedSlot();
    if (!m_rows.Sheet().HasSlot(k))
        return;
    const AlbumTrack& track = m_rows.Sheet().Track(k);
    Titre->setText(track.value(AlbumTrack::Title));
    Artiste->setText(track.value(AlbumTrack::Artist));
    Album->setText(track.value(AlbumTrack::Album));
    Annee->setText(track.value(AlbumTrack::Year));
    const QString genre = track.value(AlbumTrack::Genre);
    // A genre the list lacks, such as a CDDB category, is shown as it is.
    if (!genre.isEmpty()) {
        const int index = Genre->findText(genre, Qt::MatchFixedString);
        Genre->setCurrentIndex(index);
        if (index < 0)
            Genre->setEditText(genre);
    }
    Commentaire->setText(track.value(AlbumTrack::Comment));
    // Names longer than their box are shown from their start.
    for (QLineEdit* box : {Titre, Artiste, Album, Commentaire})
        box->home(false);
}

// The artist and the album may become folder names; a title names only a
// file, which goes without the characters files cannot hold.
bool TEdit_Tags_Form::namesAreAllowed()
{
    const std::pair<QLineEdit*, QString> names[] = {{Artiste, QStringLiteral("Le nom de l'artiste")},
                                                    {Album, QStringLiteral("Le nom de l'album")}};
    for (const auto& [box, subject] : names) {
        if (TargetNameRule::FirstForbiddenChar(box->text()) >= 0) {
            m_services.dialogs->message(MsgKind::Error, TargetNameRule::ForbiddenCharactersText(subject), MsgButtons::Ok);
            return false;
        }
        if (TargetNameRule::IsDotFolderName(box->text())) {
            m_services.dialogs->message(MsgKind::Error, TargetNameRule::DotFolderNameText(subject), MsgButtons::Ok);
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
    for (int k = 1; k <= m_rows.Sheet().TrackCount(); ++k) {
        m_rows.SelectRow(k);
        m_rows.Sheet().Retarget(k, m_rows.Folder(), m_rows.OutputExtension());
    }
    extendDefaultFolder();
    accept();
}

void TEdit_Tags_Form::extendDefaultFolder()
{
    // Only the untouched default folder follows the artist and the album,
    // unless the name template makes folders of its own.
    if (m_rows.Folder() != m_rows.DefaultFolder() || m_rows.Sheet().Names().HasFolders())
        return;
    if (AllSameArtiste->isChecked() && !Artiste->text().isEmpty())
        m_rows.SetFolder(TargetNameRule::SubFolder(m_rows.Folder(), Artiste->text()));
    if (AllSameAlbum->isChecked() && !Album->text().isEmpty())
        m_rows.SetFolder(TargetNameRule::SubFolder(m_rows.Folder(), Album->text()));
}

void TEdit_Tags_Form::ApplyTagEdits()
{
    setRowValue(AlbumTrack::Title, Titre->text(), false);
    setRowValue(AlbumTrack::Artist, Artiste->text(), AllSameArtiste->isChecked());
    setRowValue(AlbumTrack::Album, Album->text(), AllSameAlbum->isChecked());
    setRowValue(AlbumTrack::Year, Annee->text(), AllSameYear->isChecked());
    if (Genre->currentText() != UntouchedGenre)
        setRowValue(AlbumTrack::Genre, Genre->currentText(), AllSameGenre->isChecked());
    setRowValue(AlbumTrack::Comment, Commentaire->text(), false);
}

void TEdit_Tags_Form::setRowValue(AlbumTrack::Value value, const QString& text, bool everyRow)
{
    AlbumSheet& sheet = m_rows.Sheet();
    if (!everyRow) {
        // The tracks may have gone with the disc while the window was open: no slot then takes it.
        sheet.SetValue(m_rows.SelectedSlot(), value, text);
        return;
    }
    for (int k = 1; k <= sheet.TrackCount(); ++k)
        sheet.SetValue(k, value, text);
}

void TEdit_Tags_Form::AnnulerClick()
{
    reject();
}
