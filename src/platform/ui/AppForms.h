#pragma once

class QWidget;
class TEdit_Tags_Form;
class TEncode_Options_Form;
class TConnexion_CDDB_Form;
class TRippageEnCour;
class TAboutForm;
class TChooseAlbum;
class TRename_Track;
class TConvert_Form;
class TPreferences_Form;

// The program's windows, created once at start in this order and living
// until the end. A window reaches the windows of its own folder and of the
// folders below it through this record; a pointer stays null until its window
// is created. The main window is only the place others centre on.
struct AppForms {
    QWidget* Main_Form = nullptr;
    TEdit_Tags_Form* Edit_Tags_Form = nullptr;
    TEncode_Options_Form* Encode_Options_Form = nullptr;
    TConnexion_CDDB_Form* Connexion_CDDB_Form = nullptr;
    TRippageEnCour* RippageEnCour = nullptr;
    TAboutForm* AboutForm = nullptr;
    TChooseAlbum* ChooseAlbum = nullptr;
    TRename_Track* Rename_Track = nullptr;
    TConvert_Form* Convert_Form = nullptr;
    TPreferences_Form* Preferences_Form = nullptr;
};
