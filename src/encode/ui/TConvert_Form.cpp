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
// Each row of format choices adds this much height.
constexpr int RowHeight = 24;
constexpr int Height = 291 + 2 * RowHeight;
const char* const PanelStyle = "QFrame#panel { background: #eef1f7; border: 1px solid #a9bcd3; border-radius: 9px; }";
} // namespace

TConvert_Form::TConvert_Form(AppForms& forms, const PlatformServices& services, QWidget* parent)
    : CalvenorDialog(forms, services, parent),
      m_lameCoder(std::make_unique<TLameCoder>(*services.encoder)),
      m_job(std::make_unique<ConvertJob>(*m_lameCoder, *services.dialogs, *services.tags))
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

    m_directionPanel = panel({5, 153, Width - 10, 36 + 2 * RowHeight});
    WAVtoMP3 = directionButton(QStringLiteral("WAV >> MP3"), ConvertDirection::WavToMp3, 0, 0);
    WAVtoMP3->setChecked(true);
    MP3toWAV = directionButton(QStringLiteral("MP3 >> WAV"), ConvertDirection::Mp3ToWav, 0, 1);
    WAVtoFLAC = directionButton(QStringLiteral("WAV >> FLAC"), ConvertDirection::WavToFlac, 1, 0);
    FLACtoWAV = directionButton(QStringLiteral("FLAC >> WAV"), ConvertDirection::FlacToWav, 1, 1);
    MP3toFLAC = directionButton(QStringLiteral("MP3 >> FLAC"), ConvertDirection::Mp3ToFlac, 2, 0);
    FLACtoMP3 = directionButton(QStringLiteral("FLAC >> MP3"), ConvertDirection::FlacToMp3, 2, 1);

    QFrame* bottom = panel({5, 194 + 2 * RowHeight, Width - 10, 92});
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

QRadioButton* TConvert_Form::directionButton(const QString& text, ConvertDirection direction, int row, int column)
{
    auto* button = new QRadioButton(text, m_directionPanel);
    button->setGeometry(10 + 175 * column, 7 + RowHeight * row, 160, 22);
    button->setAccessibleName(QStringLiteral("De %1 vers %2")
                                  .arg(ConvertJob::SourceExtension(direction).mid(1).toUpper(),
                                       ConvertJob::TargetExtension(direction).mid(1).toUpper()));
    m_directions.emplace_back(button, direction);
    return button;
}

// Every kind the converter reads, then each kind alone, the ticked direction's first.
QString TConvert_Form::fileFilter() const
{
    QStringList kinds{ConvertJob::SourceExtension(direction())};
    QStringList patterns;
    for (const auto& [button, each] : m_directions)
        if (!kinds.contains(ConvertJob::SourceExtension(each)))
            kinds << ConvertJob::SourceExtension(each);
    QStringList filters;
    for (const QString& extension : kinds) {
        patterns << QLatin1Char('*') + extension;
        filters << QStringLiteral("Fichier %1 (*%2)").arg(extension.mid(1).toUpper(), extension);
    }
    return (QStringList{QStringLiteral("Fichiers audio (%1)").arg(patterns.join(' '))} + filters).join(QStringLiteral(";;"));
}

void TConvert_Form::chooseDirectionFor(const QString& sourceExtension)
{
    if (ConvertJob::SourceExtension(direction()) == sourceExtension)
        return;
    const QString target = ConvertJob::TargetExtension(direction());
    QRadioButton* chosen = nullptr;
    for (const auto& [button, each] : m_directions)
        if (ConvertJob::SourceExtension(each) == sourceExtension
            && (!chosen || ConvertJob::TargetExtension(each) == target))
            chosen = button;
    if (chosen)
        chosen->setChecked(true);
}

ConvertDirection TConvert_Form::direction() const
{
    for (const auto& [button, direction] : m_directions)
        if (button->isChecked())
            return direction;
    return ConvertDirection::WavToMp3;
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
    for (QRadioButton* flac : {WAVtoFLAC, FLACtoWAV, MP3toFLAC, FLACtoMP3})
        whenSelected(flac, &TConvert_Form::FlacChoiceClick);
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

void TConvert_Form::FlacChoiceClick()
{
    Chemin->clear();
}

void TConvert_Form::ExploreClick()
{
    if (ConvertFile->isChecked()) {
        if (const auto file = m_services.shell->chooseFile(QStringLiteral("Ouvrir un fichier à convertir"), fileFilter())) {
            // A file of another kind turns the direction to one that converts it.
            chooseDirectionFor(QLatin1Char('.') + QFileInfo(*file).suffix().toLower());
            Chemin->setText(QFileInfo(*file).absoluteFilePath());
        }
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
    m_job->Run(Chemin->text(), ConvertDirectory->isChecked(), direction());
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

