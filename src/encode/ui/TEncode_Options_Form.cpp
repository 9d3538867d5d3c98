#include "encode/ui/TEncode_Options_Form.h"
#include "encode/TLameCoder.h"
#include "platform/ErrorDisplay.h"
#include "platform/IDialogService.h"
#include "platform/FlacEncoder.h"
#include "platform/Settings.h"
#include "platform/WorkerCall.h"
#include "platform/ui/BusyCursor.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

namespace {
constexpr int Width = 251;
constexpr int Height = 483;
// Drives read at most a few sectors early or late.
constexpr int MaxReadOffset = 9999;
// Most reads of a track shown when "Vérifier" is ticked.
constexpr int DefaultPasses = 5;

QLabel* label(QWidget* parent, const QString& text, const QRect& where)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(where);
    return l;
}

QComboBox* list(QWidget* parent, const QStringList& items, const QRect& where)
{
    auto* c = new QComboBox(parent);
    c->addItems(items);
    c->setEditable(false);
    c->setGeometry(where);
    return c;
}

QCheckBox* box(QWidget* parent, const QString& text, const QRect& where)
{
    auto* b = new QCheckBox(text, parent);
    b->setGeometry(where);
    return b;
}

int32_t lameBool(const QCheckBox* b)
{
    return b->isChecked() ? LAME_TRUE : LAME_FALSE;
}
} // namespace

TEncode_Options_Form::TEncode_Options_Form(AppForms& forms, const PlatformServices& services, TLameCoder& coder,
                                           QWidget* parent)
    : CalvenorDialog(forms, services, parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_coder(coder)
{
    m_forms.Encode_Options_Form = this;
    setWindowTitle(QStringLiteral("Options d'encodage"));
    setModal(true);
    setFixedSize(Width, Height);
    buildControls();
    connectHandlers();
    FormCreate();
}

void TEncode_Options_Form::buildControls()
{
    BackGround = new QLabel(this);
    BackGround->setPixmap(QPixmap(QStringLiteral(":/images/encode_background.png")));
    BackGround->setGeometry(0, 0, Width, Height);
    BackGround->setScaledContents(true);
    TitleImg = new QLabel(this);
    TitleImg->setPixmap(QPixmap(QStringLiteral(":/images/encode_title.png")));
    TitleImg->setGeometry(10, 7, 32, 32);
    Label5 = label(this, QStringLiteral("Options d'encodage :"), {50, 12, 190, 22});
    MakeBold(Label5);

    // Reads of each track until two agree; a row of its own under the banner,
    // first in the tab order as on screen.
    VerifyCheck = box(this, QStringLiteral("Vérifier"), {15, 54, 80, 22});
    VerifyCheck->setToolTip(
        QStringLiteral("Lire chaque piste deux fois et relire jusqu'à ce que deux lectures soient identiques"));
    PassesLabel = label(this, QStringLiteral("Lectures"), {100, 55, 60, 20});
    PassesEdit = new QSpinBox(this);
    PassesEdit->setRange(2, Settings::MaxPasses);
    PassesEdit->setToolTip(QStringLiteral("Nombre maximal de lectures de chaque piste"));
    PassesEdit->setGeometry(160, 53, 75, 24);
    PassesLabel->setBuddy(PassesEdit);

    Label1 = label(this, QStringLiteral("Sample \nRate"), {15, 84, 80, 32});
    SelectSampleRate = list(this, {"44100", "32000", "22050"}, {100, 88, 135, 24});
    Label2 = label(this, QStringLiteral("BitRate"), {15, 126, 80, 20});
    SelectBitRate = list(this, {"320", "256", "192", "160", "128", "96"}, {100, 124, 135, 24});
    Label4 = label(this, QStringLiteral("Max\nBitRate"), {15, 156, 80, 32});
    SelectMaxBitRate = list(this, {"320", "256", "192", "160"}, {100, 160, 135, 24});
    Label8 = label(this, QStringLiteral("Mode"), {15, 198, 80, 20});
    SelectMode = list(this, {"Stereo", "Joint stereo", "Dual channel", "Mono"}, {100, 196, 135, 24});
    Label10 = label(this, QStringLiteral("Qualité"), {15, 234, 80, 20});
    SelectQuality = list(this, {"Normal", "Low", "High", "Voice"}, {100, 232, 135, 24});

    VBRCheck = box(this, QStringLiteral("VBR"), {15, 270, 80, 22});
    WriteVBRHeaderCheck = box(this, QStringLiteral("Write VBR header"), {100, 270, 140, 22});
    Label3 = label(this, QStringLiteral("VBR Quality"), {15, 310, 80, 20});
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setRange(0, 9);
    TrackBar1->setPageStep(1);
    TrackBar1->setTickInterval(1);
    TrackBar1->setTickPosition(QSlider::TicksAbove);
    TrackBar1->setGeometry(100, 302, 110, 32);
    Label7 = label(this, QString(), {218, 310, 20, 20});

    CopyrightCheck = box(this, QStringLiteral("Copyright"), {15, 340, 110, 22});
    OriginalCheck = box(this, QStringLiteral("Original"), {130, 340, 110, 22});
    CRCCheck = box(this, QStringLiteral("CRC"), {15, 362, 110, 22});
    PrivateCheck = box(this, QStringLiteral("Private"), {130, 362, 110, 22});

    // The drive's read offset lasts between runs; "Par défaut" leaves it alone.
    // Narrower than the captions above, leaving room for "Détecter".
    Label9 = label(this, QStringLiteral("Décalage"), {15, 390, 60, 20});
    ReadOffsetEdit = new QSpinBox(this);
    ReadOffsetEdit->setRange(-MaxReadOffset, MaxReadOffset);
    ReadOffsetEdit->setSuffix(QStringLiteral(" éch."));
    ReadOffsetEdit->setToolTip(QStringLiteral("Décalage de lecture du lecteur, en échantillons (0 pour une image de disque)"));
    ReadOffsetEdit->setGeometry(76, 388, 96, 24);
    DetectButton = new QPushButton(QStringLiteral("Détecter"), this);
    DetectButton->setGeometry(175, 388, 61, 24);
    DetectButton->setToolTip(QStringLiteral("Chercher le décalage de lecture du lecteur dans la base AccurateRip, avec "
                                            "le disque qui y est"));

    // FLAC rips only; a row of its own under the drive's offset.
    Label11 = label(this, QStringLiteral("Niveau FLAC"), {15, 420, 80, 20});
    FlacLevelEdit = new QSpinBox(this);
    FlacLevelEdit->setRange(FlacEncoder::MinLevel, FlacEncoder::MaxLevel);
    FlacLevelEdit->setToolTip(QStringLiteral("Compression FLAC : 0 la plus rapide, 8 la plus compacte"));
    FlacLevelEdit->setGeometry(100, 418, 135, 24);

    // The captions above are English; screen readers get French names.
    const std::pair<QWidget*, QString> names[] = {
        {SelectSampleRate, QStringLiteral("Fréquence d'échantillonnage")},
        {SelectBitRate, QStringLiteral("Débit")},
        {SelectMaxBitRate, QStringLiteral("Débit maximal")},
        {SelectMode, QStringLiteral("Mode")},
        {SelectQuality, QStringLiteral("Qualité")},
        {VBRCheck, QStringLiteral("Débit variable (VBR)")},
        {WriteVBRHeaderCheck, QStringLiteral("Écrire l'en-tête VBR")},
        {TrackBar1, QStringLiteral("Qualité du débit variable")},
        {CopyrightCheck, QStringLiteral("Droit d'auteur")},
        {OriginalCheck, QStringLiteral("Original")},
        {CRCCheck, QStringLiteral("Contrôle d'erreur CRC")},
        {PrivateCheck, QStringLiteral("Privé")},
        {ReadOffsetEdit, QStringLiteral("Décalage de lecture du lecteur, en échantillons")},
        {DetectButton, QStringLiteral("Détecter le décalage de lecture")},
        {VerifyCheck, QStringLiteral("Vérifier chaque piste par deux lectures identiques")},
        {PassesEdit, QStringLiteral("Nombre maximal de lectures de chaque piste")},
        {FlacLevelEdit, QStringLiteral("Niveau de compression FLAC")}};
    for (const auto& [control, name] : names)
        control->setAccessibleName(name);
    // A spin box's own text field is what a screen reader lands on.
    for (QSpinBox* spin : {ReadOffsetEdit, PassesEdit, FlacLevelEdit})
        spin->findChild<QLineEdit*>()->setAccessibleName(spin->accessibleName());

    RestoreButton = new QPushButton(QStringLiteral("Par défaut"), this);
    RestoreButton->setGeometry(15, 448, 105, 28);
    CloseButton = new QPushButton(QStringLiteral("Fermer"), this);
    CloseButton->setGeometry(131, 448, 105, 28);
    CloseButton->setDefault(true);
}

void TEncode_Options_Form::connectHandlers()
{
    auto on = [this](auto* sender, auto signal, void (TEncode_Options_Form::*handler)()) {
        connect(sender, signal, this, [this, handler](auto&&...) {
            ErrorDisplay::Run(*m_services.dialogs, [this, handler] { (this->*handler)(); });
        });
    };
    // activated and clicked come from the user only, never from a setter.
    on(SelectSampleRate, &QComboBox::activated, &TEncode_Options_Form::SelectSampleRateChange);
    on(SelectBitRate, &QComboBox::activated, &TEncode_Options_Form::SelectBitRateChange);
    on(SelectMaxBitRate, &QComboBox::activated, &TEncode_Options_Form::SelectMaxBitRateChange);
    on(SelectMode, &QComboBox::activated, &TEncode_Options_Form::SelectModeChange);
    on(SelectQuality, &QComboBox::activated, &TEncode_Options_Form::SelectQualityChange);
    on(TrackBar1, &QSlider::valueChanged, &TEncode_Options_Form::TrackBar1Change);
    on(VBRCheck, &QCheckBox::clicked, &TEncode_Options_Form::VBRCheck1Click);
    on(WriteVBRHeaderCheck, &QCheckBox::clicked, &TEncode_Options_Form::WriteVBRHeaderCheckClick);
    on(CopyrightCheck, &QCheckBox::clicked, &TEncode_Options_Form::CopyrightCheck1Click);
    on(OriginalCheck, &QCheckBox::clicked, &TEncode_Options_Form::OriginalCheck1Click);
    on(CRCCheck, &QCheckBox::clicked, &TEncode_Options_Form::CRCCheck1Click);
    on(PrivateCheck, &QCheckBox::clicked, &TEncode_Options_Form::PrivateCheck1Click);
    on(ReadOffsetEdit, &QSpinBox::valueChanged, &TEncode_Options_Form::ReadOffsetEditChange);
    on(DetectButton, &QPushButton::clicked, &TEncode_Options_Form::DetectButtonClick);
    on(VerifyCheck, &QCheckBox::clicked, &TEncode_Options_Form::VerifyCheckClick);
    on(PassesEdit, &QSpinBox::valueChanged, &TEncode_Options_Form::PassesEditChange);
    on(FlacLevelEdit, &QSpinBox::valueChanged, &TEncode_Options_Form::FlacLevelEditChange);
    on(RestoreButton, &QPushButton::clicked, &TEncode_Options_Form::RestoreButtonClick);
    on(CloseButton, &QPushButton::clicked, &TEncode_Options_Form::CloseButtonClick);
}

void TEncode_Options_Form::FormCreate()
{
    RestoreDefaultChoices();
    SetDrive(DriveIdentity(), nullptr);
    showPasses(m_services.settings->Passes());
    const QSignalBlocker quietLevel(FlacLevelEdit);
    FlacLevelEdit->setValue(m_services.settings->FlacLevel());
}

void TEncode_Options_Form::SetDrive(const DriveIdentity& drive, OffsetDetection detect)
{
    m_drive = drive;
    m_detect = std::move(detect);
    DetectButton->setEnabled(bool(m_detect));
    const QSignalBlocker quiet(ReadOffsetEdit);
    ReadOffsetEdit->setValue(m_drive.ReadOffset(*m_services.settings));
}

void TEncode_Options_Form::showPasses(int passes)
{
    const QSignalBlocker quiet(PassesEdit);
    VerifyCheck->setChecked(passes > 1);
    PassesEdit->setValue(passes > 1 ? passes : DefaultPasses);
    PassesEdit->setEnabled(passes > 1);
}

void TEncode_Options_Form::SelectSampleRateChange()
{
    coder().SetSampleRate(SelectSampleRate->currentText().toUInt());
}

void TEncode_Options_Form::SelectBitRateChange()
{
    coder().SetBitrate(SelectBitRate->currentText().toUInt());
}

void TEncode_Options_Form::SelectMaxBitRateChange()
{
    coder().SetMaxBitrate(SelectMaxBitRate->currentText().toUInt());
}

void TEncode_Options_Form::SelectModeChange()
{
    coder().SetMode(static_cast<TLameMode>(SelectMode->currentIndex()));
}

void TEncode_Options_Form::SelectQualityChange()
{
    coder().SetQuality(static_cast<MPEG_QUALITY>(SelectQuality->currentIndex()));
}

void TEncode_Options_Form::TrackBar1Change()
{
    coder().SetVBRQuality(TrackBar1->value());
    Label7->setText(QString::number(TrackBar1->value()));
}

void TEncode_Options_Form::VBRCheck1Click()
{
    coder().SetEnableVBR(lameBool(VBRCheck));
    // The encoder turned its VBR header on or off with VBR: show it.
    WriteVBRHeaderCheck->setChecked(coder().WriteVBRHeader() != LAME_FALSE);
}

void TEncode_Options_Form::WriteVBRHeaderCheckClick()
{
    coder().SetWriteVBRHeader(lameBool(WriteVBRHeaderCheck));
}

void TEncode_Options_Form::CopyrightCheck1Click()
{
    coder().SetCopyright(lameBool(CopyrightCheck));
}

void TEncode_Options_Form::OriginalCheck1Click()
{
    coder().SetOriginal(lameBool(OriginalCheck));
}

void TEncode_Options_Form::CRCCheck1Click()
{
    coder().SetCRC(lameBool(CRCCheck));
}

void TEncode_Options_Form::PrivateCheck1Click()
{
    coder().SetPrivate(lameBool(PrivateCheck));
}

void TEncode_Options_Form::ReadOffsetEditChange()
{
    m_drive.SaveReadOffset(*m_services.settings, ReadOffsetEdit->value());
    warnIfUnsaved(QStringLiteral("Le décalage de lecture"));
}

// The search reads tracks and asks the database: it runs off this thread and
// the window stays responsive, with "Détecter" disabled meanwhile.
void TEncode_Options_Form::DetectButtonClick()
{
    if (!m_detect)
        return;
    DetectButton->setEnabled(false);
    const auto enable = qScopeGuard([this] { DetectButton->setEnabled(bool(m_detect)); });
    std::optional<FoundOffset> found;
    {
        const BusyCursor busy;
        const OffsetDetection detect = m_detect;
        WorkerCall::Run([&found, &detect] { found = detect(); });
    }
    if (!found) {
        m_services.dialogs->message(MsgKind::Information,
                                    QStringLiteral("Aucun décalage de lecture ne correspond à la base AccurateRip ; "
                                                   "rien n'est changé."),
                                    MsgButtons::Ok);
        return;
    }
    {
        // Saved even when the box showed it already: it may be the old
        // offset, not yet this model's own.
        const QSignalBlocker quiet(ReadOffsetEdit);
        ReadOffsetEdit->setValue(found->Offset);
    }
    ReadOffsetEditChange();
    m_services.dialogs->message(MsgKind::Information,
                                QStringLiteral("Décalage de lecture trouvé : %1%2 échantillons (confiance %3).")
                                    .arg(found->Offset > 0 ? QStringLiteral("+") : QString())
                                    .arg(found->Offset)
                                    .arg(found->Confidence),
                                MsgButtons::Ok);
}

void TEncode_Options_Form::VerifyCheckClick()
{
    PassesEdit->setEnabled(VerifyCheck->isChecked());
    storePasses();
}

void TEncode_Options_Form::PassesEditChange()
{
    storePasses();
}

void TEncode_Options_Form::FlacLevelEditChange()
{
    m_services.settings->SetFlacLevel(FlacLevelEdit->value());
    warnIfUnsaved(QStringLiteral("Le niveau FLAC"));
}

void TEncode_Options_Form::storePasses()
{
    m_services.settings->SetPasses(VerifyCheck->isChecked() ? PassesEdit->value() : 1);
    warnIfUnsaved(QStringLiteral("Le nombre de lectures"));
}

void TEncode_Options_Form::warnIfUnsaved(const QString& what)
{
    Settings& settings = *m_services.settings;
    if (!settings.Saved())
        m_services.dialogs->message(MsgKind::Error,
                                    QStringLiteral("%1 n'a pas pu être enregistré dans « %2 ».")
                                        .arg(what, settings.FileName()),
                                    MsgButtons::Ok);
}

// The read offset belongs to the drive and stays; the reads of each track go back to one.
void TEncode_Options_Form::RestoreButtonClick()
{
    RestoreDefaultChoices();
    showPasses(1);
    storePasses();
    FlacLevelEdit->setValue(FlacEncoder::DefaultLevel);
}

void TEncode_Options_Form::CloseButtonClick()
{
    close();
}

void TEncode_Options_Form::RestoreDefaultChoices()
{
    coder().RestoreDefaults();
    ShowCoderChoices();
}

// What the window shows is what the next rip uses.
void TEncode_Options_Form::ShowCoderChoices()
{
    const QList<QWidget*> controls = {SelectSampleRate, SelectBitRate, SelectMaxBitRate, SelectMode, SelectQuality,
                                      TrackBar1, VBRCheck, WriteVBRHeaderCheck, CopyrightCheck, OriginalCheck,
                                      CRCCheck, PrivateCheck};
    for (QWidget* w : controls)
        w->blockSignals(true);
    SelectSampleRate->setCurrentIndex(SelectSampleRate->findText(QString::number(coder().SampleRate())));
    SelectBitRate->setCurrentIndex(SelectBitRate->findText(QString::number(coder().Bitrate())));
    SelectMaxBitRate->setCurrentIndex(SelectMaxBitRate->findText(QString::number(coder().MaxBitrate())));
    SelectMode->setCurrentIndex(coder().Mode());
    SelectQuality->setCurrentIndex(coder().Quality());
    TrackBar1->setValue(coder().VBRQuality());
    Label7->setText(QString::number(coder().VBRQuality()));
    const std::pair<QCheckBox*, int32_t> boxes[] = {
        {VBRCheck, coder().EnableVBR()},       {WriteVBRHeaderCheck, coder().WriteVBRHeader()},
        {CopyrightCheck, coder().Copyright()}, {OriginalCheck, coder().Original()},
        {CRCCheck, coder().CRC()},             {PrivateCheck, coder().Private()}};
    for (const auto& [box, value] : boxes)
        box->setChecked(value != LAME_FALSE);
    for (QWidget* w : controls)
        w->blockSignals(false);
}
