#pragma once
#include "platform/ui/CalvenorDialog.h"

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

// The About window: the product's name and version, the maker's domain and
// two links to its web pages.
class TAboutForm : public CalvenorDialog {
    Q_OBJECT
public:
    TAboutForm(AppForms& forms, const PlatformServices& services, QWidget* parent = nullptr);

    QLabel* Background = nullptr;
    QLabel* Logo = nullptr;
    QLabel* BigProductLabel = nullptr;
    QLabel* MainProductVer = nullptr;
    QLabel* SecondProductVer = nullptr;
    QLabel* Imageurl = nullptr;
    QFrame* Separator = nullptr;
    QLabel* OrvaneLabel = nullptr;
    QLabel* DotLabel = nullptr;
    QLabel* ComLabel = nullptr;
    QLabel* CompilingLabel = nullptr;
    QGroupBox* ProductGroupBox = nullptr;
    QLabel* ProductLabel = nullptr;
    QLabel* LabelCopy = nullptr;
    QLabel* ThanksLabel = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QGroupBox* InformationsGroupBox = nullptr;
    QLabel* Web = nullptr;
    QLabel* LabelWeb = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* ButtonClose = nullptr;

    // A hint is "tooltip|address"; links keep theirs in the property "hint".
    static QString Hint(const QLabel* link);

    void LabelMailMouseEnter(QLabel* link);
    void LabelMailMouseLeave(QLabel* link);
    void LabelWebClick(QLabel* link);
    void ButtonCloseClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLeftPanel();
    void buildRightSide();
    QLabel* makeLink(QWidget* parent, const QString& text, const QString& hint, QRect geometry);

};
