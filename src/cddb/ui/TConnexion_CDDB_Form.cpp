#include "cddb/ui/TConnexion_CDDB_Form.h"
#include "cddb/NameCorrection.h"
#include "cddb/TCDDBConnect.h"
#include "cddb/ui/TChooseAlbum.h"
#include "cddb/ui/TEmail_Form.h"
#include "cddb/ui/TRename_Track.h"
#include "disc/AlbumSheet.h"
#include "disc/ITrackTable.h"
#include "platform/ErrorDisplay.h"
#include "platform/IDialogService.h"
#include "platform/IInternet.h"
#include "platform/Settings.h"
#include "platform/WorkerCall.h"
#include "platform/ui/BusyCursor.h"
#include "platform/ui/EventWatcher.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <utility>

namespace {
const QString StartingText = QStringLiteral("Récupération des infos sur le cd...");
const QString ConnectingText = QStringLiteral("Connexion à internet...");
const QString NoConnectionText = QStringLiteral("Connexion à internet annulée...");
const QString QueryingText = QStringLiteral("Récupération des données du serveur...");
const QString SeveralMatchesText = QStringLiteral("Plusieur albums possibles :");
const QString UncertainText = QStringLiteral("Détermination incertaine :");
const QString AnswerCaption = QStringLiteral("Réponse du serveur");
const QString DoneText = QStringLiteral("Opération terminée.");
const QString CancelledText = QStringLiteral("Opération annulée.");
constexpr int LookupDelayMs = 500;

QLabel* caption(QWidget* parent, const QString& text, QRect geometry, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    if (bold)
        CalvenorDialog::MakeBold(label);
    return label;
}

// Long names run past the window: the hint shows them whole.
void showName(QLabel* label, const QString& name)
{
    label->setText(name);
    label->setToolTip(name);
}

void letInputThrough()
{
    QCoreApplication::processEvents();
}
} // namespace

TConnexion_CDDB_Form::TConnexion_CDDB_Form(AppForms& forms, const PlatformServices& services, ITrackTable& rows,
                                           QWidget* parent)
    : CalvenorDialog(forms, services, parent, Qt::Dialog | Qt::FramelessWindowHint), m_rows(rows),
      m_lookup(services), m_email(new TEmail_Form(forms, services, this))
{
    m_forms.Connexion_CDDB_Form = this;
    // No title bar, but the taskbar and screen readers still name the window.
    setWindowTitle(QStringLiteral("Connexion CDDB"));
    setFixedSize(250, 400);
    buildControls();
    m_lookup.SetCancelFlag(&m_cancel);
    m_lookup.RunRequest = [](const std::function<void()>& request) {
        BusyCursor busy;
        WorkerCall::Run(request);
    };

    Timer1 = new QTimer(this);
    Timer1->setInterval(LookupDelayMs);
    on(Timer1, &QTimer::timeout, [this] { Timer1Timer(); });
    on(new EventWatcher(Image1), &EventWatcher::clicked, [this] { Image1Click(); });
    on(BitBtn1, &QPushButton::clicked, [this] { BitBtn1Click(); });
    on(BitBtn2, &QPushButton::clicked, [this] { BitBtn2Click(); });
}

TConnexion_CDDB_Form::~TConnexion_CDDB_Form() = default;

template <typename Sender, typename Signal, typename Handler>
void TConnexion_CDDB_Form::on(Sender* sender, Signal signal, Handler handler)
{
    connect(sender, signal, this, [this, handler](auto&&...) { ErrorDisplay::Run(*m_services.dialogs, handler); });
}

void TConnexion_CDDB_Form::buildControls()
{
    BackGround = new QLabel(this);
    BackGround->setPixmap(QPixmap(QStringLiteral(":/images/cddb_background.png")));
    BackGround->setGeometry(0, 0, 250, 400);

    Label2 = caption(this, QStringLiteral("Connexion CDDB :"), QRect(10, 5, 200, 18), true);
    Image1 = new QLabel(this);
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/cddb_close.png")));
    Image1->setGeometry(228, 6, 16, 16);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setAccessibleName(QStringLiteral("Fermer"));
    Image1->setAccessibleDescription(QStringLiteral("Annule la recherche et ferme la fenêtre."));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(10, 36, 230, 16);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setAccessibleName(QStringLiteral("Avancement de la recherche"));
    Label1 = caption(this, QStringLiteral("Récupération des infos sur le CD..."), QRect(10, 56, 230, 34));
    Label1->setWordWrap(true);

    Label3 = caption(this, QStringLiteral("Informations trouvées :"), QRect(10, 94, 230, 18), true);
    Label4 = caption(this, QStringLiteral("Artiste :"), QRect(10, 116, 60, 18));
    Artiste = caption(this, QString(), QRect(70, 116, 170, 18));
    Label6 = caption(this, QStringLiteral("Album :"), QRect(10, 136, 60, 18));
    Album = caption(this, QString(), QRect(70, 136, 170, 18));
    Label7 = caption(this, QStringLiteral("Liste des titres :"), QRect(10, 160, 230, 18));
    // Server texts are shown as they are, never read as markup.
    for (QLabel* fromServer : {Label1, Artiste, Album})
        fromServer->setTextFormat(Qt::PlainText);
    ListBox1 = new QListWidget(this);
    ListBox1->setGeometry(10, 180, 230, 172);
    ListBox1->setAccessibleName(QStringLiteral("Liste des titres"));

    BitBtn2 = new QPushButton(QIcon(QStringLiteral(":/images/cddb_cancel.png")), QStringLiteral("Annuler"), this);
    BitBtn2->setGeometry(30, 362, 90, 28);
    BitBtn1 = new QPushButton(QIcon(QStringLiteral(":/images/cddb_apply.png")), QStringLiteral("Appliquer"), this);
    BitBtn1->setGeometry(130, 362, 90, 28);
    BitBtn1->setDefault(true);
}

// A hidden modal dialog that runs its own loop would end it: the chooser
// hides this window in the middle of a showing, so the showing waits for
// the window to be closed instead.
int TConnexion_CDDB_Form::ShowModal()
{
    setWindowModality(Qt::ApplicationModal);
    setResult(0);
    m_pendingClose = -1;
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    FormShow();
    show();
    loop.exec(QEventLoop::DialogExec);
    return result();
}

void TConnexion_CDDB_Form::FormShow()
{
    Timer1->start();
}

void TConnexion_CDDB_Form::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        ErrorDisplay::Run(*m_services.dialogs, [this] { BitBtn2Click(); });
        return;
    }
    CalvenorDialog::keyPressEvent(event);
}

QString TConnexion_CDDB_Form::CddbServer() const
{
    if (!m_server.isEmpty())
        return m_server;
    const QString saved = m_services.settings->CddbServer();
    return saved.isEmpty() ? TCDDBConnect::DefaultServer.toLower() : saved;
}

void TConnexion_CDDB_Form::setStatus(const QString& text, int progress)
{
    ProgressBar1->setValue(progress);
    Label1->setText(text);
}

// A close asked for while the lookup runs waits for its end.
void TConnexion_CDDB_Form::Timer1Timer()
{
    Timer1->stop();
    m_lookingUp = true;
    m_cancel = false;
    const auto finish = [this] {
        m_lookingUp = false;
        if (m_pendingClose >= 0)
            done(std::exchange(m_pendingClose, -1));
    };
    try {
        lookUp();
    } catch (...) {
        finish();
        throw;
    }
    // With an answer, Enter applies it.
    if (ListBox1->count() > 0)
        BitBtn1->setFocus();
    finish();
}

void TConnexion_CDDB_Form::lookUp()
{
    ProgressBar1->setValue(0);
    letInputThrough();
    Label1->setText(StartingText);
    letInputThrough();

    const QString previousId = m_rows.DiscId();
    m_rows.RefreshDiscId();
    if (m_rows.DiscId() == previousId && ListBox1->count() > 0) {
        setStatus(DoneText, 100);
        return;
    }

    showRelease(AlbumRelease());
    setStatus(ConnectingText, 33);
    letInputThrough();
    // This platform offers no dial-up connection: the test is only repeated.
    letInputThrough();
    if (!m_services.internet->isConnected()) {
        Label1->setText(NoConnectionText);
        return;
    }

    // Today's CDDB server wants the user's address: asked once, then saved.
    if (m_email->Ask().isEmpty()) {
        setStatus(CancelledText, 100);
        return;
    }
    setStatus(QueryingText, 66);
    letInputThrough();
    find();
}

// A choice the user cancelled leaves the status the chooser wrote.
void TConnexion_CDDB_Form::find()
{
    DiscLookup::Options options = DiscLookup::Options::FromSettings(*m_services.settings);
    options.cddbServer = CddbServer();
    const DiscLookup::Outcome outcome = m_lookup.Find(m_rows.Toc(), options, *this);
    if (outcome == DiscLookup::Outcome::Cancelled)
        return;
    if (outcome == DiscLookup::Outcome::Found)
        showRelease(m_lookup.Release());
    const QString report = outcome == DiscLookup::Outcome::Found ? QString() : m_lookup.FailureReport();
    if (!report.isEmpty())
        m_services.dialogs->captionedMessage(MsgKind::Warning, AnswerCaption, report, MsgButtons::Ok);
    setStatus(DoneText, 100);
}

// One line per album; -1 when cancelled.
int TConnexion_CDDB_Form::Choose(const QList<AlbumRelease>& candidates, bool uncertain)
{
    QStringList lines;
    QStringList releaseIds;
    for (const AlbumRelease& candidate : candidates) {
        lines << candidate.ChoiceLine();
        releaseIds << candidate.ids.value(AlbumRelease::MusicBrainzReleaseId);
    }
    TChooseAlbum* chooser = m_forms.ChooseAlbum;
    chooser->Label1->setText(uncertain ? UncertainText : SeveralMatchesText);
    chooser->SetChoices(lines, releaseIds);
    runChooser();
    return chooser->ChosenIndex();
}

// The chooser shows in place of this window.
void TConnexion_CDDB_Form::runChooser()
{
    const bool shown = isVisible();
    hide();
    m_forms.ChooseAlbum->exec();
    if (shown)
        show();
    letInputThrough();
}

// Control characters from a server never reach the sheet.
void TConnexion_CDDB_Form::showRelease(const AlbumRelease& release)
{
    m_release = release.WithoutControlChars();
    showName(Album, m_release.album);
    showName(Artiste, m_release.artist);
    ListBox1->clear();
    for (int i = 0; i < m_release.titles.size(); ++i) {
        auto* item = new QListWidgetItem(m_release.TrackLine(i), ListBox1);
        item->setToolTip(item->text());
    }
}

QString TConnexion_CDDB_Form::askCorrection(const QString& name, const QString& boxText)
{
    if (!boxText.isEmpty())
        m_services.dialogs->message(MsgKind::Error, boxText, MsgButtons::Ok);
    TRename_Track* rename = m_forms.Rename_Track;
    rename->ModifyText->setText(name);
    rename->exec();
    return rename->ModifyText->text();
}

// Names are corrected before anything is written; without titles nothing is.
// The artist and the album name folders, so the tags take them as corrected;
// a title corrected names only its file.
void TConnexion_CDDB_Form::BitBtn1Click()
{
    const NameCorrection correction([this](const QString& name, const QString& boxText) {
        return askCorrection(name, boxText);
    });
    AlbumRelease release = m_release;
    release.artist = correction.FolderName(release.artist, QStringLiteral("Le nom de l'artiste"));
    release.album = correction.FolderName(release.album, QStringLiteral("Le nom de l'album"));
    QStringList fileTitles;
    for (const QString& title : release.titles)
        fileTitles << correction.WithoutForbiddenChars(title, QString());
    showRelease(release);
    if (m_release.titles.isEmpty())
        return;

    // A template with folders of its own makes the album's folders itself.
    const QString musicFolder = m_rows.DefaultFolder();
    const QString folder =
        m_rows.Sheet().Names().HasFolders() ? musicFolder : DiscLookup::AlbumFolder(musicFolder, m_release);
    DiscLookup::Apply(m_release, m_rows.Sheet(), folder, m_rows.OutputExtension(), fileTitles);
    m_rows.SetFolder(folder);
    done(QDialog::Accepted);
}

void TConnexion_CDDB_Form::BitBtn2Click()
{
    m_rows.RetargetRows();
    done(QDialog::Rejected);
}

void TConnexion_CDDB_Form::Image1Click()
{
    BitBtn2Click();
}

// Every way of closing comes here, the window frame's included: a lookup that
// has not started yet never starts, one that runs is cancelled and closes
// as soon as its request has ended.
void TConnexion_CDDB_Form::done(int result)
{
    Timer1->stop();
    if (m_lookingUp) {
        m_pendingClose = result;
        m_cancel = true;
        return;
    }
    CalvenorDialog::done(result);
}
