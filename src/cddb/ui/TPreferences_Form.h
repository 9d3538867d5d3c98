#pragma once
#include "platform/NameTemplate.h"
#include "platform/ui/CalvenorDialog.h"

class AlbumSheet;

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The "Préférences" of the "Calvenor" menu: the e-mail address, the lookup,
// cover and verification servers,
// which metadata source is asked first and whether the format, the encoder
// options and the target folder are kept for the next run, what a rip
// makes of the album's cover, whether it writes the ReplayGain of its files,
// and the file name template with a preview of the name it gives. Kept in
// the settings.
class TPreferences_Form : public CalvenorDialog {
    Q_OBJECT
public:
    TPreferences_Form(AppForms& forms, const PlatformServices& services, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Adresse = nullptr;
    QLineEdit* ServeurCddb = nullptr;
    QLineEdit* ServeurMusicBrainz = nullptr;
    // Empty: the built-in server, as for the two above.
    QLineEdit* ServeurPochettes = nullptr;
    QLineEdit* ServeurAccurateRip = nullptr;
    QLineEdit* ServeurCtdb = nullptr;
    QCheckBox* MusicBrainzFirst = nullptr;
    QCheckBox* RememberChoices = nullptr;
    // What a rip makes of the album's cover, in Settings::CoverUse order.
    QComboBox* Pochette = nullptr;
    QLineEdit* ModeleNom = nullptr;
    // The first track's name by the template typed, or why it is refused.
    QLabel* ApercuNom = nullptr;
    QGroupBox* VolumeBox = nullptr;
    QCheckBox* ReplayGain = nullptr;
    QCheckBox* GarderIncompletes = nullptr;
    QPushButton* Annuler = nullptr;
    QPushButton* Enregistrer = nullptr;

    // Shows the window with the saved values, the preview naming the first
    // track of album (a made-up album when it has none) with extension;
    // returns when it closes.
    int ShowModal(const AlbumSheet* album = nullptr, const QString& extension = QStringLiteral(".mp3"));
    void EnregistrerClick();
    // The verification servers used when their boxes are left empty; the
    // ripping side knows them.
    void ShowDefaultServers(const QString& accurateRip, const QString& ctdb);

private:
    bool check(bool valid, const QString& text);
    void showPreview();

    NameTemplate::Values m_previewValues;
    QString m_previewExtension;
};
