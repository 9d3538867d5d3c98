#include "encode/ui/TConvert_Form.h"
#include "platform/TargetNameRule.h"
#include "encode/ConvertJob.h"
#include "encode/TLameCoder.h"
#include "platform/ErrorDisplay.h"
#include "platform/IShell.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {
constexpr int Width = 369;
constexpr int Height = 291;
const char* const PanelStyle = "QFrame#panel { background: #eef1f7; border: 1px solid #a9bcd3; border-radius: 9px; }";
} // namespace

TConvert_Form::TConvert_Form(AppForms& forms, const PlatformServices& services, QWidget* parent)
    : CalvenorDialog(forms, services, parent),
      m_lameCoder(std::make_unique<TLameCoder>(*services.encoder)),
      m_job(std::make_unique<ConvertJob>(*m_lameCoder, *services.dialogs))
{
    m_forms.Convert_Form = this;
    m_lameCoder->SetDefaultExt(QStringLiteral(".mp3"));
    setWindowTitle(QStringLiteral("Convertir WAV :: MP3"));
    setModal(true);
    setFixedSize(Width, Height);
    buildControls();
    connectHandlers();
}

TConvert_Form::~TConvert_Form() = default;

QFrame* TConvert_Form::panel(const QRect& where)
{
    auto* p = new QFrame(this);
    p->setObjectName(QStringLiteral("panel"));
    p->setStyleSheet(QLatin1String(PanelStyle));
    p->setGeometry(where);
    return p;
}

void TConvert_Form::buildControls()
{
    QFrame* top = panel({5, 5, Width - 10, 46});
    auto* picture = new QLabel(top);
    picture->setPixmap(QPixmap(QStringLiteral(":/images/convert_title.png")));
    picture->setGeometry(10, 7, 32, 32);
    Label1 = new QLabel(QStringLiteral("Convertisseur WAV :: MP3"), top);
    QFont bold = Label1->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    Label1->setFont(bold);
    Label1->setGeometry(52, 12, 290, 22);

    // Each pair of radio buttons lives on its own panel, which makes it one group.
    m_pathPanel = panel({5, 56, Width - 10, 92});
    ConvertFile = new QRadioButton(QStringLiteral("Convertir un fichier"), m_pathPanel);
    ConvertFile->setGeometry(10, 6, 330, 22);
    ConvertFile->setChecked(true);
    ConvertDirectory = new QRadioButton(QStringLiteral("Convertir tous les fichiers du répertoire"), m_pathPanel);
    ConvertDirectory->setGeometry(10, 30, 330, 22);
    Chemin = new QLineEdit(m_pathPanel);
    Chemin->setGeometry(10, 58, 300, 24);
    Chemin->setAccessibleName(QStringLiteral("Chemin du fichier ou du répertoire"));
    Explore = new QToolButton(m_pathPanel);
    Explore->setIcon(QIcon(QStringLiteral(":/images/folder_browse.png")));
    Explore->setToolTip(QStringLiteral("Explorer les dossiers"));
    Explore->setGeometry(318, 58, 30, 24);
    Explore->setAccessibleName(QStringLiteral("Parcourir"));
    Explore->setAccessibleDescription(QStringLiteral("Choisit le fichier ou le répertoire à convertir."));

    m_directionPanel = panel({5, 153, Width - 10, 36});
    WAVtoMP3 = new QRadioButton(QStringLiteral("WAV >> MP3"), m_directionPanel);
    WAVtoMP3->setGeometry(10, 7, 160, 22);
    WAVtoMP3->setChecked(true);
    MP3toWAV = new QRadioButton(QStringLiteral("MP3 >> WAV"), m_directionPanel);
    MP3toWAV->setGeometry(185, 7, 160, 22);
    WAVtoMP3->setAccessibleName(QStringLiteral("De WAV vers MP3"));
    MP3toWAV->setAccessibleName(QStringLiteral("De MP3 vers WAV"));

    QFrame* bottom = panel({5, 194, Width - 10, 92});
    Label2 = new QLabel(QStringLiteral("Avancement de la convertion :"), bottom);
    Label2->setGeometry(10, 6, 330, 20);
    RbProgressBar1 = new QProgressBar(bottom);
    RbProgressBar1->setRange(0, 100);
    RbProgressBar1->setValue(0);
    RbProgressBar1->setTextVisible(true);
    RbProgressBar1->setGeometry(10, 28, Width - 30, 22);
    RbProgressBar1->setAccessibleName(QStringLiteral("Avancement de la conversion"));
    RbButton1 = new QPushButton(QStringLiteral(" Convertir"), bottom);
    RbButton1->setGeometry(70, 56, 105, 28);
    RbButton1->setDefault(true);
    RbButton2 = new QPushButton(QStringLiteral(" Fermer"), bottom);
    RbButton2->setGeometry(185, 56, 105, 28);
}

void TConvert_Form::connectHandlers()
{
    auto run = [this](void (TConvert_Form::*handler)()) {
        return [this, handler](auto&&...) {
            ErrorDisplay::Run(*m_services.dialogs, [this, handler] { (this->*handler)(); });
        };
    };
    auto whenSelected = [this, run](QRadioButton* button, void (TConvert_Form::*handler)()) {
        connect(button, &QRadioButton::toggled, this, [call = run(handler)](bool selected) {
            if (selected)
                call();
        });
    };
    whenSelected(ConvertFile, &TConvert_Form::ConvertFileClick);
    whenSelected(ConvertDirectory, &TConvert_Form::ConvertDirectoryClick);
    whenSelected(WAVtoMP3, &TConvert_Form::WAVtoMP3Click);
    whenSelected(MP3toWAV, &TConvert_Form::MP3toWAVClick);
    connect(Explore, &QToolButton::clicked, this, run(&TConvert_Form::ExploreClick));
    connect(RbButton1, &QPushButton::clicked, this, run(&TConvert_Form::RbButton1Click));
    connect(RbButton2, &QPushButton::clicked, this, run(&TConvert_Form::RbButton2Click));
}

bool TConvert_Form::Converting() const
{
    return m_job->Running();
}

void TConvert_Form::ConvertFileClick()
{
    Chemin->clear();
}

void TConvert_Form::ConvertDirectoryClick()
{
    Chemin->clear();
}

void TConvert_Form::WAVtoMP3Click()
{
    Chemin->clear();
}

void TConvert_Form::MP3toWAVClick()
{
    Chemin->clear();
}

void TConvert_Form::ExploreClick()
{
    if (ConvertFile->isChecked()) {
        const QString filter = WAVtoMP3->isChecked() ? QStringLiteral("Fichier WAV (*.wav)")
                                                     : QStringLiteral("Fichier MP3 (*.mp3)");
        if (const auto file = m_services.shell->chooseFile(QStringLiteral("Ouvrir un fichier à convertir"), filter))
            Chemin->setText(QFileInfo(*file).absoluteFilePath());
        return;
    }
    const QString current = Chemin->text();
    const auto folder = m_services.shell->browseFolder(QStringLiteral("Dossier de destination"),
                                                       QFileInfo(current).isDir() ? current : QString());
    if (folder)
        Chemin->setText(TargetNameRule::WithSeparator(*folder));
}

void TConvert_Form::RbButton1Click()
{
    if (Converting())
        return;
    setControlsEnabled(false);
    struct Reenable {
        TConvert_Form* form;
        ~Reenable() { form->setControlsEnabled(true); }
    } reenable{this};
    m_job->OnProgress = [this](int percent) { RbProgressBar1->setValue(percent); };
    m_job->ProcessMessages = [] { QCoreApplication::processEvents(); };
    m_job->Run(Chemin->text(), ConvertDirectory->isChecked(),
               WAVtoMP3->isChecked() ? ConvertDirection::WavToMp3 : ConvertDirection::Mp3ToWav);
}

void TConvert_Form::RbButton2Click()
{
    close();
}

void TConvert_Form::done(int result)
{
    // Closing during a conversion stops it; its unfinished output is dropped.
    m_job->Stop();
    QDialog::done(result);
}

void TConvert_Form::setControlsEnabled(bool enabled)
{
    m_pathPanel->setEnabled(enabled);
    m_directionPanel->setEnabled(enabled);
    RbButton1->setEnabled(enabled);
}

