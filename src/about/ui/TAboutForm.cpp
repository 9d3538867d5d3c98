#include "about/ui/TAboutForm.h"
#include "platform/DesktopOpen.h"
#include "platform/ui/EventWatcher.h"
#include "platform/IShell.h"
#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWindow>

namespace {
constexpr int ClientWidth = 474;
constexpr int ClientHeight = 311;
constexpr int PanelWidth = 163;
constexpr int FontSize = 8;
const QColor LinkColour(18, 129, 181);
const QColor HoverColour(4, 163, 237);
const QColor UrlColour(226, 230, 234);
const QString SiteAddress = QStringLiteral("http://www.orvane.example/");
const QString ForumAddress = QStringLiteral("http://www.orvane.example/forum/");
const QString SiteName = QStringLiteral("www.orvane.example");
const char* const HintProperty = "hint";

// "1.2" of the build's "1.2.0": the window names the release, not its fixes.
QString releaseNumber()
{
    return QStringLiteral(CALVENOR_VERSION).section(QLatin1Char('.'), 0, 1);
}

QLabel* label(QWidget* parent, const QString& text, QRect geometry, int points = FontSize, bool bold = false)
{
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setPointSize(points);
    f.setBold(bold);
    l->setFont(f);
    l->setGeometry(geometry);
    return l;
}

void setColour(QLabel* l, const QColor& colour)
{
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
}

// Places the label just after the previous one on the same line.
void follow(QLabel* l, const QLabel* previous)
{
    l->adjustSize();
    l->move(previous->geometry().right() + 1, previous->y());
}

// The words with a space between every two characters.
QString spacedOut(const QString& words)
{
    QString spaced;
    for (const QChar c : words)
        spaced += spaced.isEmpty() ? QString(c) : QStringLiteral(" ") + c;
    return spaced;
}
} // namespace

TAboutForm::TAboutForm(AppForms& forms, const PlatformServices& services, QWidget* parent)
    : CalvenorDialog(forms, services, parent)
{
    m_forms.AboutForm = this;
    setWindowTitle(QStringLiteral("A Propos de Calvenor"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFixedSize(ClientWidth, ClientHeight);
    QFont f = font();
    f.setPointSize(FontSize);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setAutoFillBackground(true);
    buildLeftPanel();
    buildRightSide();
}

void TAboutForm::buildLeftPanel()
{
    Background = new QLabel(this);
    Background->setPixmap(QPixmap(QStringLiteral(":/images/about_background.png")));
    Background->setScaledContents(true);
    Background->setGeometry(0, 0, PanelWidth, ClientHeight);
    Logo = new QLabel(this);
    Logo->setPixmap(QPixmap(QStringLiteral(":/images/green_cd.png")));
    Logo->setGeometry(12, 12, 48, 48);
    BigProductLabel = label(this, QStringLiteral("Calvenor"), QRect(8, 70, PanelWidth - 10, 44), 24, true);
    // The name fills the panel's width: a narrow cut of the face keeps it whole.
    QFont narrow = BigProductLabel->font();
    narrow.setStretch(QFont::Condensed);
    BigProductLabel->setFont(narrow);
    MainProductVer = label(this, releaseNumber().section(QLatin1Char('.'), 0, 0), QRect(24, 116, 72, 120), 75, true);
    SecondProductVer = label(this, '.' + releaseNumber().section(QLatin1Char('.'), 1, 1), QRect(88, 168, 64, 60), 35, true);
    for (QLabel* l : {BigProductLabel, MainProductVer, SecondProductVer})
        setColour(l, Qt::white);
    Imageurl = label(this, SiteName, QRect(0, ClientHeight - 22, PanelWidth, 16), 7);
    Imageurl->setAlignment(Qt::AlignCenter);
    setColour(Imageurl, UrlColour);
    Separator = new QFrame(this);
    Separator->setFrameShape(QFrame::VLine);
    Separator->setFrameShadow(QFrame::Plain);
    Separator->setGeometry(PanelWidth, 0, 1, ClientHeight);
}

void TAboutForm::buildRightSide()
{
    const int x = PanelWidth + 10;
    const int width = ClientWidth - x - 10;
    OrvaneLabel = label(this, QStringLiteral("Orvane"), QRect(x, 8, 10, 24), 13, true);
    OrvaneLabel->adjustSize();
    DotLabel = label(this, QStringLiteral("."), QRect(), 13, true);
    setColour(DotLabel, LinkColour);
    follow(DotLabel, OrvaneLabel);
    ComLabel = label(this, QStringLiteral("example"), QRect(), 13, true);
    follow(ComLabel, DotLabel);
    CompilingLabel = label(this, '"' + spacedOut(QStringLiteral("Compiling the future...")) + '"', QRect(x, 34, width, 16));

    ProductGroupBox = new QGroupBox(QStringLiteral("Informations de version"), this);
    ProductGroupBox->setGeometry(x, 56, width, 150);
    ProductLabel = label(ProductGroupBox, QStringLiteral("Version ") + releaseNumber(), QRect(10, 20, 200, 16), FontSize, true);
    LabelCopy = label(ProductGroupBox, QStringLiteral("© Orvane. Tous droits réservés."), QRect(10, 38, width - 20, 16));
    ThanksLabel = label(ProductGroupBox,
                        QStringLiteral("Merci à toutes celles et à tous ceux qui ont essayé ce programme, signalé "
                                       "des erreurs et proposé des idées : il leur doit beaucoup."),
                        QRect(10, 58, width - 20, 44));
    ThanksLabel->setWordWrap(true);
    Label3 = label(ProductGroupBox, QStringLiteral("Merci aux béta-testeurs :"), QRect(10, 102, width - 20, 16));
    Label4 = label(ProductGroupBox,
                   QStringLiteral("Ardoise, Bruyère, Céladon, Écume et Lichen."),
                   QRect(10, 118, width - 20, 28));
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    InformationsGroupBox = new QGroupBox(QStringLiteral("Ressources techniques"), this);
    InformationsGroupBox->setGeometry(x, 212, width, 62);
    Web = label(InformationsGroupBox, QStringLiteral("Site Internet :"), QRect(10, 20, 128, 16), FontSize, true);
    LabelWeb = makeLink(InformationsGroupBox, SiteName, QStringLiteral("Site Internet|") + SiteAddress,
                        QRect(140, 20, width - 150, 16));
    Label1 = label(InformationsGroupBox, QStringLiteral("Support Technique :"), QRect(10, 38, 128, 16), FontSize, true);
    Label2 = makeLink(InformationsGroupBox, QStringLiteral("Forum Support Technique"),
                      QStringLiteral("Forum Support Technique sur Internet|") + ForumAddress,
                      QRect(140, 38, width - 150, 16));

    ButtonClose = new QPushButton(QStringLiteral("Ok"), this);
    ButtonClose->setGeometry(ClientWidth - 90, ClientHeight - 32, 80, 24);
    ButtonClose->setDefault(true);
    connect(ButtonClose, &QPushButton::clicked, this, &TAboutForm::ButtonCloseClick);
}

QLabel* TAboutForm::makeLink(QWidget* parent, const QString& text, const QString& hint, QRect geometry)
{
    QLabel* link = label(parent, text, geometry);
    setColour(link, LinkColour);
    link->setCursor(Qt::PointingHandCursor);
    link->setProperty(HintProperty, hint);
    link->setToolTip(hint.section('|', 0, 0));
    auto* watcher = new EventWatcher(link);
    connect(watcher, &EventWatcher::entered, this, [this, link] { LabelMailMouseEnter(link); });
    connect(watcher, &EventWatcher::left, this, [this, link] { LabelMailMouseLeave(link); });
    connect(watcher, &EventWatcher::clicked, this, [this, link] { LabelWebClick(link); });
    return link;
}

QString TAboutForm::Hint(const QLabel* link)
{
    return link->property(HintProperty).toString();
}

void TAboutForm::LabelMailMouseEnter(QLabel* link)
{
    QFont f = link->font();
    f.setUnderline(true);
    link->setFont(f);
    setColour(link, HoverColour);
}

void TAboutForm::LabelMailMouseLeave(QLabel* link)
{
    QFont f = link->font();
    f.setBold(false);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    link->setFont(f);
    setColour(link, LinkColour);
}

void TAboutForm::LabelWebClick(QLabel* link)
{
    DesktopOpen::Open(*m_services.shell, *m_services.dialogs, Hint(link).section('|', 1));
}

void TAboutForm::ButtonCloseClick()
{
    close();
}

// Owned by the window active when shown, and centred on the main window.
void TAboutForm::showEvent(QShowEvent* event)
{
    QWidget* active = QApplication::activeWindow();
    if (active && active != this && windowHandle())
        windowHandle()->setTransientParent(active->windowHandle());
    CalvenorDialog::showEvent(event);
    // Enter closes: the links, which Enter follows, come first in the tab order.
    ButtonClose->setFocus(Qt::OtherFocusReason);
}
