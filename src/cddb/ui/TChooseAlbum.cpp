#include "cddb/ui/TChooseAlbum.h"
#include "cddb/CoverFetch.h"
#include "platform/PlatformServices.h"
#include "platform/Settings.h"
#include "platform/ui/EventWatcher.h"
#include "cddb/ui/TConnexion_CDDB_Form.h"
#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace {
constexpr int WidthWithoutCovers = 250;
constexpr int CoverSide = 68;
} // namespace

TChooseAlbum::TChooseAlbum(AppForms& forms, const PlatformServices& services, QWidget* parent)
    : CalvenorDialog(forms, services, parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    m_forms.ChooseAlbum = this;
    // No title bar, but the taskbar and screen readers still name the window.
    setWindowTitle(QStringLiteral("Choix de l'album"));
    setModal(true);
    setFixedSize(WidthWithoutCovers, 100);

    Image1 = new QLabel(this);
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/cddb_choose_background.png")));
    Image1->setScaledContents(true);
    Image1->setGeometry(0, 0, WidthWithoutCovers, 100);

    Label1 = new QLabel(QStringLiteral("Plusieurs albums possibles :"), this);
    MakeBold(Label1);
    Label1->setGeometry(10, 4, 210, 18);

    Image2 = new QLabel(this);
    Image2->setPixmap(QPixmap(QStringLiteral(":/images/cddb_close.png")));
    Image2->setGeometry(228, 4, 16, 16);
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->setToolTip(QStringLiteral("Arréter le rippage"));
    Image2->setAccessibleName(QStringLiteral("Fermer"));
    Image2->setAccessibleDescription(QStringLiteral("Ferme la fenêtre."));

    Liste = new QComboBox(this);
    Liste->setEditable(false);
    Liste->setGeometry(10, 32, 230, 24);
    Liste->setAccessibleName(QStringLiteral("Albums possibles"));
    // Lines longer than the list differ at their end: the hint shows the whole line.
    connect(Liste, &QComboBox::currentTextChanged, Liste, &QWidget::setToolTip);

    AnnulerBTN = new QPushButton(QIcon(QStringLiteral(":/images/cddb_cancel.png")), QStringLiteral("Annuler"), this);
    AnnulerBTN->setGeometry(35, 66, 85, 26);
    ChoiseBTN = new QPushButton(QIcon(QStringLiteral(":/images/cddb_apply.png")), QStringLiteral("Choisir"), this);
    ChoiseBTN->setGeometry(130, 66, 85, 26);
    ChoiseBTN->setDefault(true);

    Pochette = new QLabel(this);
    Pochette->setGeometry(WidthWithoutCovers, 26, CoverSide, CoverSide);
    Pochette->setAlignment(Qt::AlignCenter);
    Pochette->setAccessibleName(QStringLiteral("Pochette de l'album"));
    Pochette->hide();
    if (services.http) {
        m_covers = std::make_unique<CoverFetch>(*services.http);
        connect(m_covers.get(), &CoverFetch::Fetched, this,
                [this](const QString& releaseId, const CoverImage& cover) { coverFetched(releaseId, cover); });
    }
    connect(Liste, &QComboBox::currentIndexChanged, this, [this] { showCover(); });

    connect(new EventWatcher(Image2), &EventWatcher::clicked, this, [this] { Image2Click(); });
    connect(AnnulerBTN, &QPushButton::clicked, this, [this] { AnnulerBTNClick(); });
    connect(ChoiseBTN, &QPushButton::clicked, this, [this] { ChoiseBTNClick(); });
}

TChooseAlbum::~TChooseAlbum() = default;

void TChooseAlbum::SetCoverServer(const QString& url)
{
    if (m_covers)
        m_covers->SetServer(url);
}

// The window widens for covers only when a line can have one.
void TChooseAlbum::SetChoices(const QStringList& lines, const QStringList& releaseIds)
{
    m_releaseIds = releaseIds;
    if (m_services.settings)
        SetCoverServer(m_services.settings->CoverServer());
    const bool covers = m_covers && std::any_of(releaseIds.begin(), releaseIds.end(), [](const QString& id) {
        return !id.isEmpty();
    });
    const int width = covers ? WidthWithoutCovers + CoverSide + 8 : WidthWithoutCovers;
    setFixedSize(width, 100);
    Image1->setGeometry(0, 0, width, 100);
    Image2->move(width - 22, 4);
    Pochette->setVisible(covers);
    Liste->clear();
    Liste->addItems(lines);
    // Lines differ at their end, past what the box shows: each one's hint
    // holds it whole, and the open list is as wide as the longest.
    const QFontMetrics metrics(Liste->view()->font());
    int widest = 0;
    for (int i = 0; i < Liste->count(); ++i) {
        Liste->setItemData(i, lines.at(i), Qt::ToolTipRole);
        widest = std::max(widest, metrics.horizontalAdvance(lines.at(i)));
    }
    Liste->view()->setMinimumWidth(widest + 4 * metrics.averageCharWidth());
    Liste->setCurrentIndex(Liste->count() > 0 ? 0 : -1);
    showCover();
}

// The selected line's cover, fetched the first time it is selected. A fetch
// under way is left to end rather than given up, which could hold the window
// while the request stops.
void TChooseAlbum::showCover()
{
    const QString release = m_releaseIds.value(Liste->currentIndex());
    Pochette->setPixmap(m_fetched.value(release));
    if (m_covers && !release.isEmpty() && !m_fetched.contains(release) && !m_covers->Running())
        m_covers->Start(release);
}

// A cover comes for the line selected when it was asked for; the user may
// have moved on since, so it is kept for when its line is selected again.
void TChooseAlbum::coverFetched(const QString& releaseId, const CoverImage& cover)
{
    QPixmap picture;
    if (!cover.IsEmpty() && picture.loadFromData(cover.bytes))
        picture = picture.scaled(CoverSide, CoverSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_fetched.insert(releaseId, picture);
    showCover();
}

int TChooseAlbum::ChosenIndex() const
{
    return Liste->currentIndex();
}

QString TChooseAlbum::Chosen() const
{
    return Liste->currentIndex() < 0 ? QString() : Liste->currentText();
}

void TChooseAlbum::ChoiseBTNClick()
{
    if (!Chosen().isEmpty())
        accept();
}

void TChooseAlbum::AnnulerBTNClick()
{
    reject();
}

// "Annuler", Escape and the window's closing alike: no album is chosen.
void TChooseAlbum::reject()
{
    Liste->clear();
    if (TConnexion_CDDB_Form* lookup = m_forms.Connexion_CDDB_Form) {
        lookup->Label1->setText(QStringLiteral("Opération annulée."));
        lookup->ProgressBar1->setValue(100);
    }
    CalvenorDialog::reject();
}

// The selection stays: the lookup takes the selected album.
void TChooseAlbum::Image2Click()
{
    accept();
}
