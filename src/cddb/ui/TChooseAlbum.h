#pragma once
#include "platform/ui/CalvenorDialog.h"
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

// Lets the user pick one of the discs a CDDB server matched. "Annuler" and
// Escape choose none.
class TChooseAlbum : public CalvenorDialog {
    Q_OBJECT
public:
    TChooseAlbum(AppForms& forms, const PlatformServices& services, QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Image2 = nullptr;
    QComboBox* Liste = nullptr;
    QPushButton* AnnulerBTN = nullptr;
    QPushButton* ChoiseBTN = nullptr;

    // One line per choice, the first one selected.
    void SetChoices(const QStringList& lines);
    // The selected line's position; -1 when none.
    int ChosenIndex() const;
    // The line shown as selected, empty when none.
    QString Chosen() const;

    void Image2Click();
    void AnnulerBTNClick();
    void ChoiseBTNClick();
    void reject() override;
};
