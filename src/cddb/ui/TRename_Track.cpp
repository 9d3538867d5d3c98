#include "cddb/ui/TRename_Track.h"
#include "platform/TargetNameRule.h"
#include "platform/IDialogService.h"
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TRename_Track::TRename_Track(AppForms& forms, const PlatformServices& services, QWidget* parent)
    : CalvenorDialog(forms, services, parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    SetEscapeCloses(false);
    m_forms.Rename_Track = this;
    setWindowTitle(QStringLiteral("Nom de fichier incorrecte"));
    setModal(true);
    setFixedSize(250, 150);

    auto* background = new QLabel(this);
    background->setPixmap(QPixmap(QStringLiteral(":/images/rename_background.png")));
    background->setGeometry(0, 0, 250, 150);

    FormTitle = new QLabel(QStringLiteral("Nom de fichier incorrect :"), this);
    MakeBold(FormTitle);
    FormTitle->setGeometry(10, 6, 230, 18);

    Explication = new QLabel(QStringLiteral("Windows interdit les noms de fichier comportant les caractères / \\ : * ? \" < > | "
                                            "Veuillez changer le nom ci dessous :"),
                             this);
    Explication->setAlignment(Qt::AlignCenter);
    Explication->setWordWrap(true);
    Explication->setGeometry(10, 26, 230, 56);

    ModifyText = new QLineEdit(this);
    ModifyText->setGeometry(10, 88, 230, 22);
    ModifyText->setAccessibleName(QStringLiteral("Nouveau nom"));
    ModifyButton = new QPushButton(QStringLiteral("Modifier"), this);
    ModifyButton->setGeometry(85, 116, 80, 26);
    ModifyButton->setDefault(true);
    connect(ModifyButton, &QPushButton::clicked, this, [this] { ModifyButtonClick(); });
}

void TRename_Track::ModifyButtonClick()
{
    const QString text = ModifyText->text();
    for (QChar c : text) {
        if (!TargetNameRule::IsForbiddenNameChar(c))
            continue;
        const MsgAnswer a = m_services.dialogs->message(
            MsgKind::Error,
            QStringLiteral("Le nom de fichier contient un ou plusieurs caractères interdits par windows. Veuillez "
                           "corriger en enlevant tous les caractères cités dans la fenêtre :"),
            MsgButtons::Ok);
        if (a == MsgAnswer::Ok)
            return;
    }
    accept();
}


