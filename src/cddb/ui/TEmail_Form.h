#pragma once
#include "platform/ui/CalvenorDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the e-mail address that today's CDDB server wants in the greeting
// (and that MusicBrainz gets as a contact), and keeps it in the settings.
class TEmail_Form : public CalvenorDialog {
    Q_OBJECT
public:
    TEmail_Form(AppForms& forms, const PlatformServices& services, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLabel* Explication = nullptr;
    QLineEdit* Adresse = nullptr;
    QPushButton* Annuler = nullptr;
    QPushButton* Enregistrer = nullptr;

    // The saved address; when there is none, shows the window and returns
    // what the user gave, empty when the window was cancelled.
    QString Ask();
    void EnregistrerClick();
};
