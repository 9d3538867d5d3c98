#include "app/ui/TMain_Form.h"
#include "app/TargetNameRule.h"
#include "about/ui/TAboutForm.h"
#include "app/ui/BusyCursor.h"
#include "app/ui/EventWatcher.h"
#include "app/ui/ShadeOverlay.h"
#include "cddb/TCDInfo.h"
#include "cddb/ui/TConnexion_CDDB_Form.h"
#include "encode/TLameCoder.h"
#include "platform/CdPlayer.h"
#include "platform/ErrorDisplay.h"
#include "platform/ICdRipLibrary.h"
#include "platform/IDialogService.h"
#include "platform/IDrives.h"
#include "platform/IInternet.h"
#include "platform/IShell.h"
#include "rip/TCDRIP.h"
#include "rip/TrackRow.h"
#include "rip/ui/TRippageEnCour.h"
#include "encode/ui/TConvert_Form.h"
#include "encode/ui/TEncode_Options_Form.h"
#include "tags/TMP3Info.h"
#include "tags/ui/TEdit_Tags_Form.h"
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {
constexpr int ClientWidth = 700;
constexpr int ClientHeight = 524;
constexpr int MenuHeight = 24;
const QString NoDiscHint = QStringLiteral("Pas de CD dans le lecteur");

QLabel* picture(QWidget* parent, const QString& name, QRect geometry)
{
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap(QStringLiteral(":/images/%1.png").arg(name)));
    label->setGeometry(geometry);
    return label;
}

QLabel* caption(QWidget* parent, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

QToolButton* glyphButton(QWidget* parent, const QString& image, const QString& hint, QRect geometry)
{
    auto* b = new QToolButton(parent);
    b->setIcon(QIcon(QStringLiteral(":/images/%1.png").arg(image)));
    b->setToolTip(hint);
    b->setGeometry(geometry);
    return b;
}

QPushButton* pushButton(QWidget* parent, const QString& text, const QString& hint, QRect geometry)
{
    auto* b = new QPushButton(text, parent);
    b->setToolTip(hint);
    b->setGeometry(geometry);
    return b;
}
} // namespace

TMain_Form::TMain_Form(AppForms& forms, const PlatformServices& services, const QStringList& arguments,
                       QWidget* parent)
    : QMainWindow(parent), m_forms(forms), m_services(services)
{
    m_forms.Main_Form = this;
    m_lameCoder = std::make_unique<TLameCoder>(*m_services.encoder);
    m_lameCoder->SetDefaultExt(QStringLiteral(".mp3"));
    m_lameCoder->OnProgress = [this](TLameCoder*, uint16_t p) { LameCoder1Progress(p); };
    // Until a disc is read the window holds a ripper without tracks.
    m_cdrip.reset(TCDRIP::CreateEmpty(*m_services.cdRip));
    m_cdrip->SetCoder(m_lameCoder.get());
    m_mp3Info = std::make_unique<TMP3Info>();
    m_mp3Info->SetGenreID(12);
    RippedCount = [] { return 0; };
    m_lecteur = std::make_unique<CdPlayer>(m_services.audioOutput);

    setWindowTitle(QStringLiteral("Calvenor"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    buildMenu();
    buildControls();
    connectHandlers();
    FormCreate(arguments);
}

TMain_Form::~TMain_Form() = default;

template <typename Sender, typename Signal, typename Handler>
void TMain_Form::on(Sender* sender, Signal signal, Handler handler)
{
    connect(sender, signal, this, [this, handler](auto&&...) { ErrorDisplay::Run(*m_services.dialogs, handler); });
}

void TMain_Form::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setFixedHeight(MenuHeight);
    QMenu* main = bar->addMenu(QStringLiteral("&Calvenor"));
    Calvenor_RIPPER = main->addAction(QIcon(QStringLiteral(":/images/action0.png")), QStringLiteral("&Ripper"));
    main->addSeparator();
    Calvenor_Quit = main->addAction(QIcon(QStringLiteral(":/images/action1.png")), QStringLiteral("&Quitter"));
    QMenu* converter = bar->addMenu(QStringLiteral("&Convertisseur"));
    Action1 = converter->addAction(QStringLiteral("Convertisseur WAV-MP3"));
    QMenu* help = bar->addMenu(QStringLiteral("&?"));
    Action4 = help->addAction(QStringLiteral("Aide"));
    Action4->setShortcut(QKeySequence(Qt::Key_F1));
    Action4->setShortcutContext(Qt::ApplicationShortcut);
    help->addSeparator();
    HELP_ABOUT = help->addAction(QStringLiteral("A &propos de Calvenor"));
}

void TMain_Form::buildControls()
{
    auto* client = new QWidget(this);
    setCentralWidget(client);
    setFixedSize(ClientWidth, ClientHeight);

    picture(client, QStringLiteral("background"), QRect(0, 0, ClientWidth, ClientHeight - MenuHeight))->setScaledContents(true);
    Label5 = caption(client, QStringLiteral("RIPPAGE"), QRect(24, 8, 200, 30));
    QFont heading = Label5->font();
    heading.setBold(true);
    heading.setPointSize(heading.pointSize() + 6);
    Label5->setFont(heading);
    Label5->setStyleSheet(QStringLiteral("color: #2d5d9f;"));
    RED_CD = picture(client, QStringLiteral("red_cd"), QRect(628, 2, 48, 48));
    RED_CD->setToolTip(NoDiscHint);
    GREEN_CD = picture(client, QStringLiteral("green_cd"), QRect(628, 2, 48, 48));
    GREEN_CD->hide();

    DrivesList = new QComboBox(client);
    // A choice list: a typed text could name no drive and empty the track list.
    DrivesList->setPlaceholderText(QStringLiteral("Lecteurs de CD"));
    DrivesList->setGeometry(24, 52, 160, 24);

    MP3Ripp = new QRadioButton(QStringLiteral("Ripper en MP3"), client);
    MP3Ripp->setGeometry(210, 52, 120, 24);
    MP3Ripp->setChecked(true);
    WavRipp = new QRadioButton(QStringLiteral("Ripper en WAV"), client);
    WavRipp->setGeometry(340, 52, 120, 24);
    Button1 = pushButton(client, QStringLiteral("Options"), QStringLiteral("Modifier les options d'encodage mp3"),
                         QRect(480, 50, 90, 28));
    Button2 = pushButton(client, QStringLiteral("Ripper"), QStringLiteral("Lancer le rippage des pistes sélectionnées"),
                         QRect(580, 50, 96, 28));

    Label1 = caption(client, QStringLiteral("Liste des pistes rippables :"), QRect(24, 84, 300, 20));
    CibleFiles = new QTreeWidget(client);
    CibleFiles->setGeometry(24, 104, 604, 224);
    CibleFiles->setColumnCount(8);
    CibleFiles->setHeaderLabels({QStringLiteral("Piste"), QStringLiteral("Adresse cible"), QStringLiteral("Titre"),
                                 QStringLiteral("Artiste"), QStringLiteral("Album"), QStringLiteral("Année"),
                                 QStringLiteral("Genre"), QStringLiteral("Commentaire")});
    const int widths[] = {75, 200, 100, 100, 100, 50, 75, 100};
    for (int c = 0; c < 8; ++c)
        CibleFiles->setColumnWidth(c, widths[c]);
    CibleFiles->setRootIsDecorated(false);
    CibleFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    CibleFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    CibleFiles->setSortingEnabled(false);
    CibleFiles->header()->setSectionsClickable(false);
    CibleFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Long target paths keep their file name in view.
    CibleFiles->setTextElideMode(Qt::ElideMiddle);

    Play_Gray = picture(client, QStringLiteral("play_gray"), QRect(638, 120, 32, 32));
    Pause_Gray = picture(client, QStringLiteral("pause_gray"), QRect(638, 160, 32, 32));
    Stop_Gray = picture(client, QStringLiteral("stop_gray"), QRect(638, 200, 32, 32));
    for (QLabel* gray : {Play_Gray, Pause_Gray, Stop_Gray})
        gray->setCursor(Qt::ForbiddenCursor);
    Play_Blue = picture(client, QStringLiteral("play_blue"), QRect(638, 120, 32, 32));
    Pause_Blue = picture(client, QStringLiteral("pause_blue"), QRect(638, 160, 32, 32));
    Stop_Blue = picture(client, QStringLiteral("stop_blue"), QRect(638, 200, 32, 32));
    for (QLabel* blue : {Play_Blue, Pause_Blue, Stop_Blue}) {
        blue->setCursor(Qt::PointingHandCursor);
        blue->hide();
    }

    Label6 = caption(client, QStringLiteral("Répertoire cible :"), QRect(24, 338, 120, 24));
    DirectoryText = new QLineEdit(client);
    DirectoryText->setGeometry(144, 338, 400, 24);
    BitBtn4 = glyphButton(client, QStringLiteral("folder_up"), QStringLiteral("Remonter au dossier parent"),
                          QRect(550, 338, 24, 24));
    BitBtn3 = glyphButton(client, QStringLiteral("folder_browse"), QStringLiteral("Explorer les dossiers"),
                          QRect(578, 338, 24, 24));
    BitBtn5 = glyphButton(client, QStringLiteral("folder_open"), QStringLiteral("Ouvrir le répertoire cible"),
                          QRect(606, 338, 24, 24));

    EditTagsButton = pushButton(client, QStringLiteral("Editer les tags"),
                                QStringLiteral("Définir les tags du fichier mp3 correspondant."), QRect(24, 372, 140, 28));
    BitBtn1 = pushButton(client, QStringLiteral("Lancer une requete CDDB"),
                         QStringLiteral("Chercher des informations sur le CD sur un serveur CDDB."),
                         QRect(172, 372, 190, 28));
    BitBtn2 = pushButton(client, QStringLiteral("Tout sélectionner"), QStringLiteral("Sélectionner toutes les pistes."),
                         QRect(370, 372, 140, 28));
    DeleteItemButton = pushButton(client, QStringLiteral("Tout désélectionner"),
                                  QStringLiteral("Désélectionner toutes les pistes."), QRect(518, 372, 150, 28));

    Label2 = caption(client, QStringLiteral("Avancement :"), QRect(24, 410, 120, 20));
    Label3 = caption(client, QStringLiteral("Total :"), QRect(24, 434, 60, 20));
    Label4 = caption(client, QStringLiteral("Piste :"), QRect(24, 460, 60, 20));
    TotalProgress = new QProgressBar(client);
    TotalProgress->setGeometry(90, 436, 586, 16);
    localProgress = new QProgressBar(client);
    localProgress->setGeometry(90, 462, 586, 16);
    for (QProgressBar* bar : {TotalProgress, localProgress}) {
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
    }

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    m_shade = new ShadeOverlay(this);
}

void TMain_Form::connectHandlers()
{
    on(DrivesList, &QComboBox::activated, [this] { DrivesListChange(); });
    on(Timer1, &QTimer::timeout, [this] { Timer1Timer(); });
    on(DirectoryText, &QLineEdit::textChanged, [this] { DirectoryTextChange(); });
    // Only a change of choice counts: selecting the selected button changes nothing.
    on(MP3Ripp, &QRadioButton::toggled, [this] { if (MP3Ripp->isChecked()) MP3RippClick(); });
    on(WavRipp, &QRadioButton::toggled, [this] { if (WavRipp->isChecked()) WavRippClick(); });
    on(BitBtn2, &QPushButton::clicked, [this] { BitBtn2Click(); });
    on(DeleteItemButton, &QPushButton::clicked, [this] { DeleteItemButtonClick(); });
    on(BitBtn1, &QPushButton::clicked, [this] { BitBtn1Click(); });
    on(Button2, &QPushButton::clicked, [this] { Button2Click(); });
    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });
    on(Action1, &QAction::triggered, [this] { Action1Execute(); });
    on(Calvenor_RIPPER, &QAction::triggered, [this] { Calvenor_RIPPERExecute(); });
    on(BitBtn3, &QToolButton::clicked, [this] { BitBtn3Click(); });
    on(BitBtn4, &QToolButton::clicked, [this] { BitBtn4Click(); });
    on(BitBtn5, &QToolButton::clicked, [this] { BitBtn5Click(); });
    on(EditTagsButton, &QPushButton::clicked, [this] { EditTagsButtonClick(); });
    on(Action4, &QAction::triggered, [this] { Action4Execute(); });
    on(Calvenor_Quit, &QAction::triggered, [this] { Calvenor_QuitExecute(); });
    on(HELP_ABOUT, &QAction::triggered, [this] { HELP_ABOUTExecute(); });
    on(CibleFiles, &QTreeWidget::itemSelectionChanged, [this] { CibleFilesSelectItem(); });
    on(new EventWatcher(CibleFiles), &EventWatcher::exited, [this] { CibleFilesExit(); });
    on(new EventWatcher(Play_Blue), &EventWatcher::clicked, [this] { Play_BlueClick(); });
    on(new EventWatcher(Pause_Blue), &EventWatcher::clicked, [this] { Pause_BlueClick(); });
    on(new EventWatcher(Stop_Blue), &EventWatcher::clicked, [this] { Stop_BlueClick(); });
}

void TMain_Form::FormCreate(const QStringList& arguments)
{
    ListCdDrives();
    DirectoryText->setText(DefaultFolder());
    DrivesList->setCurrentIndex(-1);
    if (!arguments.isEmpty() && !arguments.first().isEmpty()) {
        // "E:\", "e:\" and "e:" all name the entry e:\ ; selecting it here does
        // not read the disc: the poll does within a second.
        QString root = arguments.first().toLower();
        if (root.size() == 2 && root.endsWith(':'))
            root += '\\';
        const int entry = DrivesList->findText(root, Qt::MatchFixedString);
        if (entry >= 0)
            DrivesList->setCurrentIndex(entry);
    }
    Timer1->start();
}

void TMain_Form::ListCdDrives()
{
    for (char c = 'a'; c <= 'y'; ++c) {
        if (m_services.drives->isCdDrive(QChar(c)))
            DrivesList->addItem(QString(QChar(c)) + QStringLiteral(":\\"));
    }
    if (DrivesList->count() == 0) {
        m_services.dialogs->message(MsgKind::Error,
                                    QStringLiteral("Vous ne semblez pas avoir de lecteur de CD sur votre ordinateur."),
                                    MsgButtons::Ok);
        DrivesList->setPlaceholderText(QStringLiteral("Aucun lecteur"));
    }
}

QString TMain_Form::DefaultFolder() const
{
    return TargetNameRule::DefaultMusicFolder(m_services.shell->documentsFolder());
}

QChar TMain_Form::DriveLetter() const
{
    const QString text = DrivesList->currentText();
    return text.isEmpty() ? QChar() : text.at(0).toLower();
}

bool TMain_Form::DiscPresent() const
{
    return !GREEN_CD->isHidden();
}

void TMain_Form::DrivesListChange()
{
    // Never replace the ripper under a running rip.
    if (m_ripping)
        return;
    const QChar letter = DriveLetter();
    if (letter.isNull() || !m_services.drives->isDiscPresent(letter)) {
        GREEN_CD->hide();
        clearRows();
        return;
    }
    GREEN_CD->show();
    replaceRipper();
    m_cdrip->SetCDRomNum(DrivesList->currentIndex());
    BuildTrackRows();
    if (RowCount() == 0) {
        GREEN_CD->hide();
        return;
    }
    // Every row has its default target before a lookup may change it.
    DirectoryTextChange();
    if (m_services.internet->isConnected()) {
        const MsgAnswer a = m_services.dialogs->message(
            MsgKind::Information,
            QStringLiteral("Voulez vous lancer une recherche sur serveur CDDB pour tenter d'obtenir les informations "
                           "possibles sur votre CD ?"),
            MsgButtons::YesNo);
        if (a == MsgAnswer::Yes)
            BitBtn1Click();
    }
}

void TMain_Form::replaceRipper()
{
    m_cdrip.reset();
    try {
        m_cdrip = std::make_unique<TCDRIP>(*m_services.cdRip);
    } catch (...) {
        // Later commands expect a ripper: leave one without tracks.
        m_cdrip.reset(TCDRIP::CreateEmpty(*m_services.cdRip));
        throw;
    }
    m_cdrip->OnProgress = [this](TCDRIP*, uint16_t p) { CDRIP1Progress(p); };
}

void TMain_Form::Timer1Timer()
{
    if (DrivesList->currentIndex() < 0)
        return;
    const bool present = m_services.drives->isDiscPresent(DriveLetter());
    if (DiscPresent() && !present) {
        GREEN_CD->hide();
        clearRows();
        DirectoryText->setText(DefaultFolder());
        if (m_ripping)
            m_forms.RippageEnCour->DiscRemoved();
    } else if (!DiscPresent() && present && !m_ripping) {
        // Never replace the ripper under a running rip.
        GREEN_CD->show();
        DrivesListChange();
    }
}

void TMain_Form::CDRIP1Progress(uint16_t percentComplete)
{
    localProgress->setValue(percentComplete);
    TotalProgress->setValue(percentComplete + 100 * RippedCount());
}

void TMain_Form::LameCoder1Progress(uint16_t percentComplete)
{
    localProgress->setValue(percentComplete);
}

void TMain_Form::Action4Execute()
{
    const QString folder = QDir::fromNativeSeparators(QCoreApplication::applicationDirPath());
    const QString path = TargetNameRule::WithSeparator(folder) + QStringLiteral("Aide/Aide.htm");
    if (!QFileInfo::exists(path)) {
        const MsgAnswer a = m_services.dialogs->message(
            MsgKind::Error, QStringLiteral("Impossible de trouver le fichier d'aide : ") + path, MsgButtons::Ok);
        if (a == MsgAnswer::Ok)
            return;
    }
    m_services.shell->open(path);
}

void TMain_Form::Calvenor_QuitExecute()
{
    close();
}

void TMain_Form::closeEvent(QCloseEvent* event)
{
    Timer1->stop();
    ErrorDisplay::Run(*m_services.dialogs, [this] { FormClose(); });
    QMainWindow::closeEvent(event);
}

void TMain_Form::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    m_shade->setGeometry(rect());
}

// ---- Track rows ----

int TMain_Form::RowCount() const
{
    return CibleFiles->topLevelItemCount();
}

QTreeWidgetItem* TMain_Form::TrackItems(int k) const
{
    return (k >= 1 && k <= RowCount()) ? CibleFiles->topLevelItem(k - 1) : nullptr;
}

QString TMain_Form::Value(const QTreeWidgetItem* row, int value)
{
    return row->text(value + 1);
}

void TMain_Form::SetValue(QTreeWidgetItem* row, int value, const QString& text)
{
    row->setText(value + 1, text);
}

QString TMain_Form::Label(const QTreeWidgetItem* row)
{
    return row->text(0);
}

bool TMain_Form::Ticked(const QTreeWidgetItem* row)
{
    return row->checkState(0) == Qt::Checked;
}

int TMain_Form::SelectedSlot() const
{
    const QList<QTreeWidgetItem*> selected = CibleFiles->selectedItems();
    return selected.isEmpty() ? 0 : CibleFiles->indexOfTopLevelItem(selected.first()) + 1;
}

void TMain_Form::clearRows()
{
    CibleFiles->clear();
}

void TMain_Form::BuildTrackRows()
{
    clearRows();
    for (const TrackRow& track : TrackRow::FromTracks(m_cdrip->Tracks)) {
        auto* row = new QTreeWidgetItem(CibleFiles);
        row->setText(0, track.Label);
        row->setFlags((row->flags() | Qt::ItemIsUserCheckable) & ~Qt::ItemIsEditable);
        row->setCheckState(0, Qt::Unchecked);
    }
}

void TMain_Form::DirectoryTextChange()
{
    const QString folder = DirectoryText->text();
    if (folder.isEmpty())
        return;
    for (int k = 1; k <= RowCount(); ++k) {
        QTreeWidgetItem* row = TrackItems(k);
        SetValue(row, TargetValue,
                 TargetNameRule::ComposeTargetPath(folder, Label(row), Value(row, AlbumValue), Value(row, ArtistValue),
                                                   Value(row, TitleValue), MP3Ripp->isChecked()));
    }
}

void TMain_Form::setRowExtensions(const QString& extension)
{
    for (int k = 1; k <= RowCount(); ++k) {
        QTreeWidgetItem* row = TrackItems(k);
        SetValue(row, TargetValue, TargetNameRule::ReplaceLastFour(Value(row, TargetValue), extension));
    }
}

void TMain_Form::MP3RippClick()
{
    m_cdrip->SetEncode(true);
    m_cdrip->SetWriteWAV(false);
    setRowExtensions(QStringLiteral(".mp3"));
}

void TMain_Form::WavRippClick()
{
    m_cdrip->SetWriteWAV(true);
    m_cdrip->SetEncode(false);
    setRowExtensions(QStringLiteral(".wav"));
}

void TMain_Form::BitBtn2Click()
{
    for (int k = 1; k <= RowCount(); ++k)
        TrackItems(k)->setCheckState(0, Qt::Checked);
}

void TMain_Form::DeleteItemButtonClick()
{
    for (int k = 1; k <= RowCount(); ++k)
        TrackItems(k)->setCheckState(0, Qt::Unchecked);
}

// ---- Commands around a rip ----

void TMain_Form::EditTagsButtonClick()
{
    if (SelectedSlot() == 0)
        return;
    m_forms.Edit_Tags_Form->FillFromSelectedRow();
    m_forms.Edit_Tags_Form->exec();
}

void TMain_Form::BitBtn1Click()
{
    if (!DiscPresent()) {
        m_services.dialogs->message(MsgKind::Error, QStringLiteral("Il n'y a pas de CD dans le lecteur"), MsgButtons::Ok);
        return;
    }
    ShadeWindow();
    if (TConnexion_CDDB_Form* lookup = m_forms.Connexion_CDDB_Form)
        lookup->ShowModal();
    Repaint();
}

// The disc is released on every path, errors included.
void TMain_Form::RefreshDiscId()
{
    BusyCursor busy;
    TCDInfo disc(*m_services.drives, *m_services.cdAudio);
    disc.OpenDrive(DriveLetter());
    DiscIdText = QStringLiteral("ID : ") + disc.DiscIdString();
}

void TMain_Form::Button2Click()
{
    if (m_ripping)
        return;
    int ticked = 0;
    for (int k = 1; k <= RowCount(); ++k)
        if (Ticked(TrackItems(k)))
            ++ticked;
    if (ticked == 0)
        return;
    TotalProgress->setMaximum(100 * ticked);
    ShadeWindow();
    if (!ensureDestinationFolder()) {
        Repaint();
        return;
    }
    if (WavRipp->isChecked()) {
        m_cdrip->SetEncode(false);
        m_cdrip->SetWriteWAV(true);
    } else {
        m_cdrip->SetEncode(true);
        m_cdrip->SetWriteWAV(false);
        m_cdrip->SetCoder(m_lameCoder.get());
    }
    m_ripping = true;
    struct RipEnds {
        TMain_Form* form;
        ~RipEnds() { form->m_ripping = false; form->Repaint(); }
    } ends{this};
    m_forms.RippageEnCour->exec();
}

void TMain_Form::Button1Click()
{
    m_forms.Encode_Options_Form->exec();
}

void TMain_Form::Action1Execute()
{
    m_forms.Convert_Form->exec();
}

void TMain_Form::SetEncoderMode()
{
    m_lameCoder->SetMode(static_cast<TLameMode>(m_forms.Encode_Options_Form->SelectMode->currentIndex()));
}

void TMain_Form::SetEncoderQuality()
{
    m_lameCoder->SetQuality(static_cast<MPEG_QUALITY>(m_forms.Encode_Options_Form->SelectQuality->currentIndex()));
}

void TMain_Form::Calvenor_RIPPERExecute()
{
    Button2Click();
}

bool TMain_Form::ensureDestinationFolder()
{
    const QString folder = DirectoryText->text();
    if (QFileInfo(folder).isDir())
        return true;
    const MsgAnswer a = m_services.dialogs->message(
        MsgKind::Confirmation,
        QStringLiteral("Le répertoire de destination (\"") + folder + QStringLiteral("\") n'existe pas. Voulez vous le créer ?"),
        MsgButtons::YesNo);
    if (a == MsgAnswer::Yes && !(!folder.isEmpty() && QDir().mkpath(folder)))
        m_services.dialogs->message(MsgKind::Error, QStringLiteral("Impossible de créer le répertoire"), MsgButtons::Ok);
    return QFileInfo(folder).isDir();
}

void TMain_Form::BitBtn5Click()
{
    if (ensureDestinationFolder())
        m_services.shell->open(DirectoryText->text());
}

void TMain_Form::BitBtn3Click()
{
    const QString current = DirectoryText->text();
    const auto chosen = m_services.shell->browseFolder(QStringLiteral("Dossier de destination"),
                                                       QFileInfo(current).isDir() ? current : QString());
    if (chosen)
        DirectoryText->setText(TargetNameRule::WithSeparator(*chosen));
}

void TMain_Form::BitBtn4Click()
{
    DirectoryText->setText(TargetNameRule::ParentFolder(DirectoryText->text()));
}

void TMain_Form::ShadeWindow()
{
    m_shade->setGeometry(rect());
    m_shade->raise();
    m_shade->show();
    m_shade->repaint();
}

void TMain_Form::Repaint()
{
    m_shade->hide();
    update();
}

// ---- Preview playback ----

void TMain_Form::setPlayerButtons(PlayerButtons state)
{
    Play_Blue->setVisible(state == PlayerButtons::Ready);
    Pause_Blue->setVisible(state == PlayerButtons::Playing);
    Stop_Blue->setVisible(state == PlayerButtons::Playing);
}

void TMain_Form::CibleFilesSelectItem()
{
    if (!Stop_Blue->isHidden())
        Stop_BlueClick();
    setPlayerButtons(PlayerButtons::Ready);
}

void TMain_Form::CibleFilesExit()
{
    // The device stays open: the next play reopens it.
    if (!Stop_Blue->isHidden())
        lecteur().Stop();
    setPlayerButtons(PlayerButtons::Inactive);
}

void TMain_Form::Play_BlueClick()
{
    const BusyCursor busy;
    // Rows count from 1; with none selected there is no track to ask for.
    const int n = SelectedSlot();
    if (n == 0)
        return;
    const QString source = m_services.drives->source(DriveLetter());
    if (!lecteur().HoldsAudioDisc(source)) {
        m_services.dialogs->message(
            MsgKind::Information,
            QStringLiteral("Impossible de lire cette piste. Cela n'empeche pas le rippage mais il n'est pas encore "
                           "possible dans cette version de lire cette piste..."),
            MsgButtons::Ok);
        return;
    }
    lecteur().SetFileName(source);
    lecteur().Open();
    lecteur().Seek(lecteur().TrackPosition(n));
    lecteur().Play();
    setPlayerButtons(PlayerButtons::Playing);
}

void TMain_Form::Pause_BlueClick()
{
    // Skips ten seconds forward and goes on playing.
    lecteur().Seek(lecteur().Position() + 10);
    lecteur().Play();
}

void TMain_Form::Stop_BlueClick()
{
    lecteur().Stop();
    lecteur().Close();
    setPlayerButtons(PlayerButtons::Ready);
}

void TMain_Form::FormClose()
{
    if (!Stop_Blue->isHidden())
        Stop_BlueClick();
}

void TMain_Form::HELP_ABOUTExecute()
{
    if (m_forms.AboutForm)
        m_forms.AboutForm->exec();
}
