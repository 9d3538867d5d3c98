#pragma once
#include "platform/ui/CalvenorDialog.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The "Préférences" of the "Calvenor" menu: the e-mail address, the servers,
// which metadata source is asked first and whether the format, the encoder
// options and the target folder are kept for the next run, and whether a rip
// writes the ReplayGain of its files. Kept in the settings.
class TPreferences_Form : public CalvenorDialog {
    Q_OBJECT
public:
    TPreferences_Form(AppForms& forms, const PlatformServices& services, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Adresse = nullptr;
    QLineEdit* ServeurCddb = nullptr;
    QLineEdit* ServeurMusicBrainz = nullptr;
    QCheckBox* MusicBrainzFirst = nullptr;
    QCheckBox* RememberChoices = nullptr;
    QGroupBox* VolumeBox = nullptr;
    QCheckBox* ReplayGain = nullptr;
    QPushButton* Annuler = nullptr;
    QPushButton* Enregistrer = nullptr;

    // Shows the window with the saved values; returns when it closes.
    int ShowModal();
    void EnregistrerClick();

private:
    bool check(bool valid, const QString& text);
};
