#include "app/ui/TMain_Form.h"
#include "about/ui/TAboutForm.h"
#include "app/AlbumCover.h"
#include "app/ui/CoverButton.h"
#include "app/ui/MainFormLayout.h"
#include "app/ui/TrackListModel.h"
#include "cddb/ui/TConnexion_CDDB_Form.h"
#include "cddb/ui/TPreferences_Form.h"
#include "disc/DiscToc.h"
#include "encode/TLameCoder.h"
#include "encode/ui/TConvert_Form.h"
#include "encode/ui/TEncode_Options_Form.h"
#include "platform/CdPlayer.h"
#include "platform/ErrorDisplay.h"
#include "platform/IDialogService.h"
#include "platform/IDrives.h"
#include "platform/IInternet.h"
#include "platform/IShell.h"
#include "platform/TargetNameRule.h"
#include "platform/ui/BusyCursor.h"
#include "platform/ui/EventWatcher.h"
#include "platform/DriveIdentity.h"
#include "rip/ReadOffsetFinder.h"
#include "rip/RipVerification.h"
#include "platform/Settings.h"
#include "rip/TCDRIP.h"
#include "rip/ui/TRippageEnCour.h"
#include "tags/TMP3Info.h"
#include "tags/ui/TEdit_Tags_Form.h"
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

TMain_Form::TMain_Form(AppForms& forms, const PlatformServices& services, const QStringList& arguments,
                       QWidget* parent)
    : QMainWindow(parent), m_forms(forms), m_services(services), m_disc(std::make_unique<DiscSession>(services))
{
    m_forms.Main_Form = this;
    m_lameCoder = std::make_unique<TLameCoder>(*m_services.encoder);
    m_lameCoder->SetDefaultExt(QStringLiteral(".mp3"));
    m_lameCoder->OnProgress = [this](TLameCoder*, uint16_t p) { LameCoder1Progress(p); };
    m_disc->Ripper().SetCoder(m_lameCoder.get());
    m_mp3Info = std::make_unique<TMP3Info>();
    m_mp3Info->SetGenreID(12);
    RippedCount = [] { return 0; };
    m_lecteur = std::make_unique<CdPlayer>(m_services.audioOutput);

    setWindowTitle(QStringLiteral("Calvenor"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    MainFormLayout::BuildMenu(*this);
    MainFormLayout::BuildControls(*this);
    m_shade = new ShadeOverlay(this);
    m_trackModel = new TrackListModel(m_disc->Sheet(), m_disc->Toc(), this);
    MainFormLayout::ShowTracks(*this, *m_trackModel);
    m_drive = std::make_unique<DriveChoice>(*DrivesList, m_services);
    m_folder = std::make_unique<DestinationFolder>(*DirectoryText, m_services);
    m_preview = std::make_unique<PreviewButtons>(*Play_Blue, *Pause_Blue, *Stop_Blue, *m_lecteur, *m_services.dialogs);
    m_cover = std::make_unique<AlbumCover>(m_disc->Sheet(), m_services.http);
    if (m_services.settings)
        m_cover->SetServer(m_services.settings->CoverServer());
    m_coverButton = new CoverButton(*CoverPicture, *this, m_disc->Sheet(), *m_cover, m_services);
    connectHandlers();
    FormCreate(arguments);
}

// The track list reads the album sheet, which the disc session owns: the
// list goes first, or a view repainting as it dies reads a sheet gone.
TMain_Form::~TMain_Form()
{
    delete m_trackModel;
}

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
    on(DirectoryText, &QLineEdit::textEdited, [this] { m_folder->NoteTyped(); });
    // Only a change of choice counts: selecting the selected button changes nothing.
    for (QRadioButton* format : {MP3Ripp, WavRipp, FlacRipp})
        on(format, &QRadioButton::toggled, [this, format] { if (format->isChecked()) FormatClick(); });
    on(BitBtn2, &QPushButton::clicked, [this] { BitBtn2Click(); });
    on(DeleteItemButton, &QPushButton::clicked, [this] { DeleteItemButtonClick(); });
    on(BitBtn1, &QPushButton::clicked, [this] { BitBtn1Click(); });
    on(Button2, &QPushButton::clicked, [this] { Button2Click(); });
    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });
    on(Action1, &QAction::triggered, [this] { Action1Execute(); });
    on(Calvenor_RIPPER, &QAction::triggered, [this] { Calvenor_RIPPERExecute(); });
    on(OpenImage, &QAction::triggered, [this] { OpenImageExecute(); });
    on(BitBtn3, &QToolButton::clicked, [this] { BitBtn3Click(); });
    on(BitBtn4, &QToolButton::clicked, [this] { BitBtn4Click(); });
    on(BitBtn5, &QToolButton::clicked, [this] { BitBtn5Click(); });
    on(EditTagsButton, &QPushButton::clicked, [this] { EditTagsButtonClick(); });
    on(Action4, &QAction::triggered, [this] { Action4Execute(); });
    on(Calvenor_Quit, &QAction::triggered, [this] { Calvenor_QuitExecute(); });
    on(Calvenor_Preferences, &QAction::triggered, [this] { Calvenor_PreferencesExecute(); });
    on(HELP_ABOUT, &QAction::triggered, [this] { HELP_ABOUTExecute(); });
    on(CibleFiles->selectionModel(), &QItemSelectionModel::selectionChanged, [this] { CibleFilesSelectItem(); });
    CibleFiles->installEventFilter(this);
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

QString TMain_Form::DefaultFolder() const
{
    return m_musicFolder.isEmpty() ? TargetNameRule::DefaultMusicFolder(m_services.shell->documentsFolder())
                                   : m_musicFolder;
}

RememberedChoices::Choices TMain_Form::Choices() const
{
    const QString folder = m_folder->Chosen().isEmpty() ? m_musicFolder : m_folder->Chosen();
    RememberedChoices::Choices choices{MP3Ripp->isChecked(), folder, FlacRipp->isChecked()};
    MainFormLayout::Keep(*this, choices);
    return choices;
}

void TMain_Form::RestoreChoices(const RememberedChoices::Choices& choices)
{
    m_musicFolder = choices.folder.isEmpty() ? QString() : TargetNameRule::WithSeparator(choices.folder);
    (choices.flac ? FlacRipp : choices.mp3 ? MP3Ripp : WavRipp)->setChecked(true);
    MainFormLayout::Restore(*this, choices);
    DirectoryText->setText(DefaultFolder());
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
        forgetDisc();
        m_drive->SayWhyUnreadable(letter);
        return;
    }
    GREEN_CD->show();
    BuildTrackRows();
    if (m_disc->Sheet().TrackCount() == 0) {
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

void TMain_Form::OpenImageExecute()
{
    if (m_ripping)
        return;
    const auto file = m_services.shell->chooseFile(QStringLiteral("Ouvrir une image de disque"),
                                                   QStringLiteral("Images de disque (*.cue *.toc *.nrg *.CUE *.TOC *.NRG)"));
    if (!file)
        return;
    m_drive->AddImage(*file);
    DrivesListChange();
}

void TMain_Form::Timer1Timer()
{
    if (!m_drive->Chosen())
        return;
    const bool present = m_services.drives->isDiscPresent(DriveLetter());
    if (!present)
        m_drive->SayWhyUnreadable(DriveLetter());
    if (DiscPresent() && !present) {
        forgetDisc();
        DirectoryText->setText(DefaultFolder());
        if (m_ripping)
            m_forms.RippageEnCour->DiscRemoved();
    } else if (!DiscPresent() && present && !m_ripping) {
        // Never replace the ripper under a running rip.
        GREEN_CD->show();
        DrivesListChange();
    }
}

void TMain_Form::Calvenor_PreferencesExecute()
{
    m_forms.Preferences_Form->ShowModal(&m_disc->Sheet(), OutputExtension());
    m_cover->SetServer(m_services.settings->CoverServer());
    if (m_disc->ReadNameTemplate())
        DirectoryTextChange();
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

bool TMain_Form::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == CibleFiles && event->type() == QEvent::FocusIn && SelectedSlot() != 0)
        m_preview->ListEntered();
    // Space ticks the current row whichever of its cells is current; the
    // list alone would only when the tick's own cell is.
    if (watched == CibleFiles && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && CibleFiles->currentIndex().isValid()) {
        const int k = CibleFiles->currentIndex().row() + 1;
        Sheet().SetTicked(k, !Sheet().Track(k).ticked);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

int TMain_Form::SelectedSlot() const
{
    const QModelIndexList selected = CibleFiles->selectionModel()->selectedRows();
    return selected.isEmpty() ? 0 : selected.first().row() + 1;
}

void TMain_Form::SelectRow(int k)
{
    if (m_disc->Sheet().HasSlot(k))
        CibleFiles->setCurrentIndex(m_trackModel->index(k - 1, 0));
}

void TMain_Form::forgetDisc()
{
    GREEN_CD->hide();
    m_disc->Forget();
}

void TMain_Form::BuildTrackRows()
{
    // The rows the list holds at most.
    constexpr int MaxRows = 50;
    const int tracks = m_disc->Read(DriveLetter(), DrivesList->currentIndex(), MaxRows);
    if (tracks > MaxRows)
        m_services.dialogs->message(MsgKind::Information,
                                    QStringLiteral("Ce disque a %1 pistes audio : seules les %2 premières sont listées. "
                                                   "calvenor-rip peut extraire les suivantes.")
                                        .arg(tracks)
                                        .arg(MaxRows),
                                    MsgButtons::Ok);
}

void TMain_Form::DirectoryTextChange()
{
    const QString folder = DirectoryText->text();
    if (!folder.isEmpty())
        m_disc->Sheet().RetargetAll(folder, OutputExtension());
}

void TMain_Form::setRipFormat()
{
    TCDRIP& ripper = m_disc->Ripper();
    ripper.SetFileFormat(ChosenFormat());
    ripper.SetFlacLevel(m_services.settings->FlacLevel());
}

void TMain_Form::FormatClick()
{
    setRipFormat();
    m_disc->Sheet().SetExtensions(OutputExtension());
}

FileFormat TMain_Form::ChosenFormat() const
{
    if (FlacRipp->isChecked())
        return FileFormat::Flac;
    return MP3Ripp->isChecked() ? FileFormat::Mp3 : FileFormat::Wav;
}

QString TMain_Form::OutputExtension() const
{
    return ExtensionOf(ChosenFormat());
}

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

void TMain_Form::RefreshDiscId()
{
    const BusyCursor busy;
    DiscIdText = QStringLiteral("ID : ") + m_disc->RequireToc(DriveLetter()).CddbIdText();
}

void TMain_Form::Button2Click()
{
    if (m_ripping)
        return;
    const int ticked = m_disc->Sheet().TickedCount();
    if (ticked == 0)
        return;
    TotalProgress->setMaximum(100 * ticked);
    ShadeWindow();
    if (!m_folder->Ensure()) {
        Repaint();
        return;
    }
    setRipFormat();
    if (MP3Ripp->isChecked())
        m_disc->Ripper().SetCoder(m_lameCoder.get());
    m_ripping = true;
    struct RipEnds {
        TMain_Form* form;
        ~RipEnds() { form->m_ripping = false; form->Repaint(); }
    } ends{this};
    m_forms.RippageEnCour->exec();
}

void TMain_Form::ShowResults(const RipReport& report)
{
    m_trackModel->ShowResults(report);
}

void TMain_Form::Button1Click()
{
    const QChar letter = DriveLetter();
    m_forms.Encode_Options_Form->SetDrive(letter.isNull() ? DriveIdentity()
                                                          : DriveIdentity::Of(*m_services.drives, letter),
                                          offsetDetection());
    m_forms.Encode_Options_Form->exec();
}

// The listed disc's drive, as the ripper has it active, searched against
// AccurateRip; nothing to detect with until a disc is listed.
TEncode_Options_Form::OffsetDetection TMain_Form::offsetDetection()
{
    if (!DiscPresent() || Toc().IsEmpty())
        return nullptr;
    return [library = m_services.cdRip,
            verification = RipVerification::Online(m_services.http, m_services.internet, Toc(), m_services.settings)]()
               -> std::optional<TEncode_Options_Form::FoundOffset> {
        const auto found = ReadOffsetFinder(*library, verification.Toc).Find(verification);
        if (!found)
            return std::nullopt;
        return TEncode_Options_Form::FoundOffset{found->Offset, found->Confidence};
    };
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

void TMain_Form::Play_BlueClick()
{
    const BusyCursor busy;
    // With no track selected there is none to ask for; the player knows the
    // disc's own numbers, which a leading data track sets apart from the rows.
    const int k = SelectedSlot();
    if (Sheet().HasSlot(k))
        m_preview->Play(Sheet().Track(k).number, m_services.drives->source(DriveLetter()));
}

void TMain_Form::HELP_ABOUTExecute()
{
    if (m_forms.AboutForm)
        m_forms.AboutForm->exec();
}
