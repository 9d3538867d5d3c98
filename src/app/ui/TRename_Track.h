#pragma once
#include "app/ui/AppForms.h"
#include "platform/PlatformServices.h"
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for a file name without the characters that file names may not hold.
class TRename_Track : public QDialog {
    Q_OBJECT
public:
    TRename_Track(AppForms& forms, const PlatformServices& services, QWidget* parent = nullptr);

    QLabel* FormTitle = nullptr;
    QLabel* Explication = nullptr;
    QLineEdit* ModifyText = nullptr;
    QPushButton* ModifyButton = nullptr;

    void ModifyButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    AppForms& m_forms;
    PlatformServices m_services;
};
