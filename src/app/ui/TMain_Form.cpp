#include "app/ui/TMain_Form.h"
#include "cddb/ui/TPreferences_Form.h"
#include "about/ui/TAboutForm.h"
#include "app/HelpPage.h"
#include "app/ui/DestinationFolder.h"
#include "app/ui/DriveChoice.h"
#include "app/ui/MainFormLayout.h"
#include "app/ui/MainTrackRows.h"
#include "app/ui/PreviewButtons.h"
#include "cddb/TCDInfo.h"
#include "platform/CalvenorError.h"
#include "cddb/ui/TConnexion_CDDB_Form.h"
#include "disc/AlbumSheet.h"
#include "disc/DiscToc.h"
#include "encode/TLameCoder.h"
#include "encode/ui/TConvert_Form.h"
#include "encode/ui/TEncode_Options_Form.h"
#include "platform/CdPlayer.h"
#include "platform/ErrorDisplay.h"
#include "platform/ICdRipLibrary.h"
#include "platform/IDialogService.h"
#include "platform/IDrives.h"
#include "platform/IInternet.h"
#include "platform/IShell.h"
#include "platform/TargetNameRule.h"
#include "platform/ui/BusyCursor.h"
#include "platform/ui/EventWatcher.h"
#include "platform/ui/ShadeOverlay.h"
#include "rip/TCDRIP.h"
#include "rip/TrackRow.h"
#include "rip/ui/TRippageEnCour.h"
#include "tags/TMP3Info.h"
#include "tags/ui/TEdit_Tags_Form.h"
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

TMain_Form::TMain_Form(AppForms& forms, const PlatformServices& services, const QStringList& arguments,
                       QWidget* parent)
    : QMainWindow(parent), m_forms(forms), m_services(services), m_sheet(std::make_unique<AlbumSheet>()),
      m_toc(std::make_unique<DiscToc>())
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
    MainFormLayout::BuildMenu(*this);
    MainFormLayout::BuildControls(*this);
    m_shade = new ShadeOverlay(this);
    m_rows = std::make_unique<MainTrackRows>(*CibleFiles);
    m_drive = std::make_unique<DriveChoice>(*DrivesList, m_services);
    m_folder = std::make_unique<DestinationFolder>(*DirectoryText, m_services);
    m_preview = std::make_unique<PreviewButtons>(*Play_Blue, *Pause_Blue, *Stop_Blue, *m_lecteur, *m_services.dialogs);
    connectHandlers();
    FormCreate(arguments);
}

TMain_Form::~TMain_Form() = default;

template <typename Sender, typename Signal, typename Handler>
void TMain_Form::on(Sender* sender, Signal signal, Handler handler, Qt::ConnectionType type)
{
    connect(
        sender, signal, this, [this, handler](auto&&...) { ErrorDisplay::Run(*m_services.dialogs, handler); }, type);
}

void TMain_Form::connectHandlers()
{
    on(DrivesList, &QComboBox::activated, [this] { DrivesListChange(); });
    // Queued: a timer does not fire again while its own handler runs, and the
    // poll may open modal windows (the CDDB question, the lookup window) during
    // which it must go on.
    on(Timer1, &QTimer::timeout, [this] { Timer1Timer(); }, Qt::QueuedConnection);
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
    on(Calvenor_Preferences, &QAction::triggered, [this] { Calvenor_PreferencesExecute(); });
    on(HELP_ABOUT, &QAction::triggered, [this] { HELP_ABOUTExecute(); });
    on(CibleFiles, &QTreeWidget::itemSelectionChanged, [this] { CibleFilesSelectItem(); });
    auto* listWatcher = new EventWatcher(CibleFiles);
    // Tab goes on from the list to the player pictures without leaving it.
    listWatcher->ShareFocusWith({Play_Blue, Pause_Blue, Stop_Blue});
    on(listWatcher, &EventWatcher::exited, [this] { CibleFilesExit(); });
    on(new EventWatcher(Play_Blue), &EventWatcher::clicked, [this] { Play_BlueClick(); });
    on(new EventWatcher(Pause_Blue), &EventWatcher::clicked, [this] { Pause_BlueClick(); });
    on(new EventWatcher(Stop_Blue), &EventWatcher::clicked, [this] { Stop_BlueClick(); });
}

void TMain_Form::FormCreate(const QStringList& arguments)
{
    ListCdDrives();
    DirectoryText->setText(DefaultFolder());
    DrivesList->setCurrentIndex(-1);
    if (!arguments.isEmpty())
        m_drive->ChooseFromArgument(arguments.first());
    Timer1->start();
}

void TMain_Form::ListCdDrives()
{
    m_drive->ListCdDrives();
}

QString TMain_Form::DefaultFolder() const
{
    return TargetNameRule::DefaultMusicFolder(m_services.shell->documentsFolder());
}

QChar TMain_Form::DriveLetter() const
{
    return m_drive->Letter();
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
        m_rows->Clear();
        sayWhyUnreadable(letter);
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
        // The poll runs during the question: the disc may have gone meanwhile.
        if (a == MsgAnswer::Yes && DiscPresent())
            BitBtn1Click();
    }
}

void TMain_Form::sayWhyUnreadable(QChar letter)
{
    const QString reason = letter.isNull() ? QString() : m_services.drives->unreadableReason(letter);
    if (reason == m_unreadableReason)
        return;
    m_unreadableReason = reason;
    if (!reason.isEmpty())
        m_services.dialogs->message(MsgKind::Error, reason, MsgButtons::Ok);
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
    if (!m_drive->Chosen())
        return;
    const bool present = m_services.drives->isDiscPresent(DriveLetter());
    if (!present)
        sayWhyUnreadable(DriveLetter());
    if (DiscPresent() && !present) {
        GREEN_CD->hide();
        m_rows->Clear();
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
    const QString path = HelpPage::Path(QDir::fromNativeSeparators(QCoreApplication::applicationDirPath()));
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

void TMain_Form::Calvenor_PreferencesExecute()
{
    m_forms.Preferences_Form->ShowModal();
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
    return m_rows->Count();
}

QTreeWidgetItem* TMain_Form::TrackItems(int k) const
{
    return m_rows->Item(k);
}

QString TMain_Form::Value(const QTreeWidgetItem* row, int value)
{
    return MainTrackRows::Value(row, value);
}

void TMain_Form::SetValue(QTreeWidgetItem* row, int value, const QString& text)
{
    MainTrackRows::SetValue(row, value, text);
}

QString TMain_Form::Label(const QTreeWidgetItem* row)
{
    return MainTrackRows::Label(row);
}

bool TMain_Form::Ticked(const QTreeWidgetItem* row)
{
    return MainTrackRows::Ticked(row);
}

int TMain_Form::SelectedSlot() const
{
    return m_rows->SelectedSlot();
}

void TMain_Form::BuildTrackRows()
{
    const QList<TrackRow> tracks = TrackRow::FromTracks(m_cdrip->Tracks, TrackRow::AllTracks);
    m_rows->Build(tracks.mid(0, TrackRow::MaxRows));
    if (tracks.size() > TrackRow::MaxRows)
        m_services.dialogs->message(MsgKind::Information,
                                    QStringLiteral("Ce disque a %1 pistes audio : seules les %2 premières sont listées. "
                                                   "calvenor-rip peut extraire les suivantes.")
                                        .arg(tracks.size())
                                        .arg(TrackRow::MaxRows),
                                    MsgButtons::Ok);
}

void TMain_Form::DirectoryTextChange()
{
    const QString folder = DirectoryText->text();
    if (!folder.isEmpty())
        m_rows->Retarget(folder, MP3Ripp->isChecked());
}

void TMain_Form::setRipFormat(bool mp3)
{
    m_cdrip->SetEncode(mp3);
    m_cdrip->SetWriteWAV(!mp3);
}

void TMain_Form::MP3RippClick()
{
    setRipFormat(true);
    m_rows->SetExtensions(QStringLiteral(".mp3"));
}

void TMain_Form::WavRippClick()
{
    setRipFormat(false);
    m_rows->SetExtensions(QStringLiteral(".wav"));
}

void TMain_Form::BitBtn2Click()
{
    m_rows->TickAll(true);
}

void TMain_Form::DeleteItemButtonClick()
{
    m_rows->TickAll(false);
}

// ---- What the other windows reach ----

QString TMain_Form::RowLabel(int k) const
{
    const QTreeWidgetItem* row = m_rows->Item(k);
    return row ? Label(row) : QString();
}

QString TMain_Form::Cell(int k, int value) const
{
    const QTreeWidgetItem* row = m_rows->Item(k);
    return row ? Value(row, value) : QString();
}

void TMain_Form::SetCell(int k, int value, const QString& text)
{
    if (QTreeWidgetItem* row = m_rows->Item(k))
        SetValue(row, value, text);
}

bool TMain_Form::RowTicked(int k) const
{
    const QTreeWidgetItem* row = m_rows->Item(k);
    return row && Ticked(row);
}

void TMain_Form::SelectRow(int k)
{
    m_rows->Select(k);
}

QString TMain_Form::Folder() const
{
    return m_folder->Text();
}

void TMain_Form::SetFolder(const QString& folder)
{
    m_folder->SetText(folder);
}

bool TMain_Form::RipsMp3() const
{
    return MP3Ripp->isChecked();
}

void TMain_Form::RetargetRows()
{
    DirectoryTextChange();
}

QString TMain_Form::DiscId() const
{
    return DiscIdText;
}

void TMain_Form::ShowRipProgress(int trackPercent, int workDone)
{
    localProgress->setValue(trackPercent);
    TotalProgress->setValue(workDone);
}

int TMain_Form::TotalProgressValue() const
{
    return TotalProgress->value();
}

void TMain_Form::ResetProgress()
{
    TotalProgress->setValue(0);
    localProgress->setValue(0);
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
    const int ticked = m_rows->TickedCount();
    if (ticked == 0)
        return;
    TotalProgress->setMaximum(100 * ticked);
    ShadeWindow();
    if (!m_folder->Ensure()) {
        Repaint();
        return;
    }
    setRipFormat(!WavRipp->isChecked());
    if (!WavRipp->isChecked())
        m_cdrip->SetCoder(m_lameCoder.get());
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
    m_forms.Encode_Options_Form->SelectModeChange();
}

void TMain_Form::SetEncoderQuality()
{
    m_forms.Encode_Options_Form->SelectQualityChange();
}

void TMain_Form::Calvenor_RIPPERExecute()
{
    Button2Click();
}

void TMain_Form::BitBtn5Click()
{
    m_folder->Open();
}

void TMain_Form::BitBtn3Click()
{
    m_folder->Browse();
}

void TMain_Form::BitBtn4Click()
{
    m_folder->Up();
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

void TMain_Form::CibleFilesSelectItem()
{
    m_preview->SelectionChanged();
}

void TMain_Form::CibleFilesExit()
{
    m_preview->ListLeft();
}

void TMain_Form::Play_BlueClick()
{
    const BusyCursor busy;
    // Rows count from 1; with none selected there is no track to ask for.
    const int n = SelectedSlot();
    if (n != 0)
        m_preview->Play(n, m_services.drives->source(DriveLetter()));
}

void TMain_Form::Pause_BlueClick()
{
    m_preview->SkipForward();
}

void TMain_Form::Stop_BlueClick()
{
    m_preview->Stop();
}

void TMain_Form::FormClose()
{
    m_preview->Close();
}

void TMain_Form::HELP_ABOUTExecute()
{
    if (m_forms.AboutForm)
        m_forms.AboutForm->exec();
}
