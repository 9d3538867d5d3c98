#pragma once
#include "disc/AlbumTrack.h"
#include "platform/ui/CalvenorDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ITrackTable;

// Edits the tag values of the selected track of the album sheet, and
// optionally spreads artist, album, year and genre to every track. Touches no
// file: the sheet carries the values to the rip.
class TEdit_Tags_Form : public CalvenorDialog {
    Q_OBJECT
public:
    TEdit_Tags_Form(AppForms& forms, const PlatformServices& services, ITrackTable& rows, QWidget* parent = nullptr);

    QLabel* BackGround = nullptr;
    QLabel* Title_Img = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Titre = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Artiste = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Album = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* Genre = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* Commentaire = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Annee = nullptr;
    QCheckBox* AllSameArtiste = nullptr;
    QCheckBox* AllSameGenre = nullptr;
    QCheckBox* AllSameAlbum = nullptr;
    QCheckBox* AllSameYear = nullptr;
    QPushButton* Annuler = nullptr;
    QPushButton* Valider = nullptr;

    // Shows the values of the main window's selected row.
    void FillFromSelectedRow();
    void ValiderClick();
    void AnnulerClick();
    void ApplyTagEdits();

protected:

private:
    void buildControls();
    void FormCreate();
    // Shows the message of the first of title, artist, album holding a
    // forbidden character; false when one does.
    bool namesAreAllowed();
    // Writes a row value into every row or only into the selected one.
    void setRowValue(AlbumTrack::Value value, const QString& text, bool everyRow);
    void extendDefaultFolder();

    ITrackTable& m_rows;
};
