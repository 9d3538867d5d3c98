#pragma once
#include "platform/ui/CalvenorDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for a file name without the characters that file names may not hold.
class TRename_Track : public CalvenorDialog {
    Q_OBJECT
public:
    TRename_Track(AppForms& forms, const PlatformServices& services, QWidget* parent = nullptr);

    QLabel* FormTitle = nullptr;
    QLabel* Explication = nullptr;
    QLineEdit* ModifyText = nullptr;
    QPushButton* ModifyButton = nullptr;

    void ModifyButtonClick();

protected:

private:
};
