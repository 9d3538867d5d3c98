#include "cddb/ui/TEmail_Form.h"
#include "cddb/EmailAddress.h"
#include "platform/IDialogService.h"
#include "platform/Settings.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TEmail_Form::TEmail_Form(AppForms& forms, const PlatformServices& services, QWidget* parent)
    : CalvenorDialog(forms, services, parent)
{
    setWindowTitle(QStringLiteral("Adresse électronique"));
    setModal(true);
    setFixedSize(320, 170);
    Label1 = new QLabel(QStringLiteral("Votre adresse électronique :"), this);
    MakeBold(Label1);
    Label1->setGeometry(10, 8, 300, 18);
    Explication = new QLabel(QStringLiteral("Le serveur CDDB demande l'adresse de chaque utilisateur ; MusicBrainz la "
                                            "reçoit comme contact. Elle est enregistrée dans les préférences, où vous "
                                            "pourrez la changer."),
                             this);
    Explication->setWordWrap(true);
    Explication->setGeometry(10, 30, 300, 64);
    Adresse = new QLineEdit(this);
    Adresse->setPlaceholderText(QStringLiteral("jean.dupont@exemple.fr"));
    Adresse->setGeometry(10, 98, 300, 24);
    Adresse->setAccessibleName(QStringLiteral("Adresse électronique"));
    Label1->setBuddy(Adresse);
    Annuler = new QPushButton(QStringLiteral("Annuler"), this);
    Annuler->setGeometry(124, 132, 88, 28);
    Enregistrer = new QPushButton(QStringLiteral("Enregistrer"), this);
    Enregistrer->setGeometry(222, 132, 88, 28);
    Enregistrer->setDefault(true);
    connect(Annuler, &QPushButton::clicked, this, &QDialog::reject);
    connect(Enregistrer, &QPushButton::clicked, this, [this] { EnregistrerClick(); });
}

QString TEmail_Form::Ask()
{
    const QString saved = m_services.settings->Email();
    if (!saved.isEmpty())
        return saved;
    Adresse->clear();
    return exec() == QDialog::Accepted ? m_services.settings->Email() : QString();
}

void TEmail_Form::EnregistrerClick()
{
    const QString address = Adresse->text().trimmed();
    if (!EmailAddress::IsValid(address)) {
        m_services.dialogs->message(MsgKind::Error, EmailAddress::InvalidText(address), MsgButtons::Ok);
        return;
    }
    m_services.settings->SetEmail(address);
    if (!m_services.settings->Saved())
        m_services.dialogs->message(MsgKind::Warning,
                                    QStringLiteral("L'adresse n'a pas pu être enregistrée dans « %1 » : elle ne vaut "
                                                   "que jusqu'à la fin du programme.")
                                        .arg(m_services.settings->FileName()),
                                    MsgButtons::Ok);
    accept();
}
