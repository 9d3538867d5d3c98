#include "cddb/ui/TConnexion_CDDB_Form.h"
#include "platform/TargetNameRule.h"
#include "platform/HttpCancelled.h"
#include "platform/WorkerCall.h"
#include "platform/ui/BusyCursor.h"
#include "platform/ui/EventWatcher.h"
#include "cddb/ui/TRename_Track.h"
#include "cddb/MusicBrainzClient.h"
#include "cddb/TCDDBConnect.h"
#include "cddb/ui/TChooseAlbum.h"
#include "cddb/ui/TEmail_Form.h"
#include "platform/Settings.h"
#include "platform/CalvenorError.h"
#include "platform/ErrorDisplay.h"
#include "platform/IDialogService.h"
#include "platform/IInternet.h"
#include "disc/AlbumSheet.h"
#include "disc/ITrackTable.h"
#include "tags/ui/TEdit_Tags_Form.h"
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
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
const QString ArtistSubject = QStringLiteral("Le nom de l'artiste");
const QString AlbumSubject = QStringLiteral("Le nom de l'album");
const QString ArtistForbiddenText = TargetNameRule::ForbiddenCharactersText(ArtistSubject);
const QString AlbumForbiddenText = TargetNameRule::ForbiddenCharactersText(AlbumSubject);
constexpr int RecordFollows = 210;
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

} // namespace

TConnexion_CDDB_Form::TConnexion_CDDB_Form(AppForms& forms, const PlatformServices& services, ITrackTable& rows,
                                           QWidget* parent)
    : CalvenorDialog(forms, services, parent, Qt::Dialog | Qt::FramelessWindowHint), m_rows(rows),
      m_cddb(std::make_unique<TCDDBConnect>(services)), m_musicBrainz(std::make_unique<MusicBrainzClient>(services)),
      m_email(new TEmail_Form(forms, services, this))
{
    m_forms.Connexion_CDDB_Form = this;
    // No title bar, but the taskbar and screen readers still name the window.
    setWindowTitle(QStringLiteral("Connexion CDDB"));
    setFixedSize(250, 400);
    buildControls();
    m_cddb->SetComponentVersion(QStringLiteral("1.03 - 24/12/2002"));
    m_cddb->SetCancelFlag(&m_cancel);
    m_musicBrainz->SetCancelFlag(&m_cancel);

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

// Today's greeting: the saved address, then the program and its version.
void TConnexion_CDDB_Form::SetupServer()
{
    m_cddb->SetEmail(m_services.settings->Email());
    m_cddb->SetServer(CddbServer());
    m_musicBrainz->SetContact(m_services.settings->Email());
    m_musicBrainz->SetServer(m_services.settings->MusicBrainzServer());
}

void TConnexion_CDDB_Form::setStatus(const QString& text, int progress)
{
    ProgressBar1->setValue(progress);
    Label1->setText(text);
}

void TConnexion_CDDB_Form::letInputThrough()
{
    QCoreApplication::processEvents();
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

    showName(Artiste, QString());
    showName(Album, QString());
    ListBox1->clear();
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
    if (findRelease())
        setStatus(DoneText, 100);
}

// False when the user cancelled the choice among several discs.
bool TConnexion_CDDB_Form::findRelease()
{
    m_failures.clear();
    m_cddbError = nullptr;
    const bool musicBrainzFirst = m_services.settings->MusicBrainzFirst();
    Outcome outcome = musicBrainzFirst ? askMusicBrainz() : askCddb();
    if (outcome == Outcome::NotFound)
        outcome = musicBrainzFirst ? askCddb() : askMusicBrainz();
    if (outcome == Outcome::NotFound)
        reportNothingFound();
    return outcome != Outcome::Cancelled;
}

// A CDDB failure alone is raised as it always was; with other reasons
// beside it, all of them are shown together.
void TConnexion_CDDB_Form::reportNothingFound()
{
    if (m_cddbError && m_failures.size() == 1)
        std::rethrow_exception(m_cddbError);
    if (!m_failures.isEmpty())
        m_services.dialogs->captionedMessage(MsgKind::Warning, AnswerCaption,
                                             TCDDBConnect::ForBox(m_failures.join(QStringLiteral("\n\n"))),
                                             MsgButtons::Ok);
}

TConnexion_CDDB_Form::Outcome TConnexion_CDDB_Form::askCddb()
{
    try {
        return queryServer();
    } catch (const CalvenorError& e) {
        m_cddbError = std::current_exception();
        m_failures << e.message();
        return Outcome::NotFound;
    }
}

TConnexion_CDDB_Form::Outcome TConnexion_CDDB_Form::askMusicBrainz()
{
    SetupServer();
    QList<AlbumRelease> releases;
    const QChar letter = m_rows.DriveLetter();
    try {
        if (!request([&] { releases = m_musicBrainz->LookupDisc(letter); }))
            return Outcome::Cancelled;
    } catch (const CalvenorError& e) {
        m_failures << QStringLiteral("MusicBrainz : ") + e.message();
        return Outcome::NotFound;
    }
    if (releases.isEmpty())
        return Outcome::NotFound;
    const int chosen = releases.size() == 1 ? 0 : chooseRelease(releases);
    if (chosen < 0)
        return Outcome::Cancelled;
    showRelease(releases.at(chosen));
    return Outcome::Found;
}

// One line per release: artist, album, year and country. -1 when cancelled.
int TConnexion_CDDB_Form::chooseRelease(const QList<AlbumRelease>& releases)
{
    QStringList lines;
    for (const AlbumRelease& release : releases)
        lines << release.ChoiceLine();
    TChooseAlbum* chooser = m_forms.ChooseAlbum;
    chooser->Label1->setText(SeveralMatchesText);
    chooser->SetChoices(lines);
    runChooser();
    return chooser->ChosenIndex();
}

TConnexion_CDDB_Form::Outcome TConnexion_CDDB_Form::queryServer()
{
    SetupServer();
    int code = 0;
    QString answer;
    const QChar letter = m_rows.DriveLetter();
    if (!request([&] { m_cddb->QueryDisc(letter, code, answer); }))
        return Outcome::Cancelled;
    switch (code) {
    case 200:
        return showRecordOrAnswer(answer);
    case 210:
    case 211:
        return chooseAndRead(code, answer);
    default:
        m_failures << TCDDBConnect::ExplainAnswer(code, answer);
        return Outcome::NotFound;
    }
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

TConnexion_CDDB_Form::Outcome TConnexion_CDDB_Form::chooseAndRead(int code, const QString& answer)
{
    TChooseAlbum* chooser = m_forms.ChooseAlbum;
    chooser->Label1->setText(code == 210 ? SeveralMatchesText : UncertainText);
    chooser->SetMatches(TCDDBConnect::SplitLines(answer));
    runChooser();
    // "Annuler" empties the list; the close picture keeps the selection.
    const QString match = chooser->Chosen();
    if (match.isEmpty())
        return Outcome::Cancelled;
    SetupServer();
    QString record;
    if (!request([&] { record = m_cddb->ReadEntry(match); }))
        return Outcome::Cancelled;
    return showRecordOrAnswer(record);
}

bool TConnexion_CDDB_Form::request(const std::function<void()>& call)
{
    if (m_cancel)
        return false;
    BusyCursor busy;
    try {
        WorkerCall::Run(call);
    } catch (const HttpCancelled&) {
        return false;
    }
    return true;
}

// A read that gave no record (an error status) counts as the server's
// answer, never as an empty record.
TConnexion_CDDB_Form::Outcome TConnexion_CDDB_Form::showRecordOrAnswer(const QString& readAnswer)
{
    if (m_cddb->LastCode() != RecordFollows) {
        m_failures << TCDDBConnect::TrimBlanks(readAnswer);
        return Outcome::NotFound;
    }
    AlbumRelease release;
    release.artist = m_cddb->GetArtist();
    release.album = m_cddb->GetAlbum();
    release.year = m_cddb->GetYear();
    release.genre = m_cddb->GetCategory();
    m_cddb->GetTitles(release.titles);
    showRelease(release);
    return Outcome::Found;
}

// Control characters from a server never reach the rows.
void TConnexion_CDDB_Form::showRelease(const AlbumRelease& release)
{
    m_release = release;
    showName(Album, TargetNameRule::WithoutControlChars(release.album));
    showName(Artiste, TargetNameRule::WithoutControlChars(release.artist));
    ListBox1->clear();
    for (const QString& title : release.titles) {
        auto* item = new QListWidgetItem(TargetNameRule::WithoutControlChars(title), ListBox1);
        item->setToolTip(item->text());
    }
}

QString TConnexion_CDDB_Form::renamed(const QString& name)
{
    TRename_Track* rename = m_forms.Rename_Track;
    rename->ModifyText->setText(name);
    rename->exec();
    return rename->ModifyText->text();
}

QString TConnexion_CDDB_Form::askCorrection(const QString& name, const QString& boxText)
{
    if (!boxText.isEmpty())
        m_services.dialogs->message(MsgKind::Error, boxText, MsgButtons::Ok);
    return renamed(name);
}

// Each forbidden character met on the walk asks for a correction; the walk
// goes on in the corrected text, up to the length the name had at first.
// Without a box text only the rename window opens.
QString TConnexion_CDDB_Form::withoutForbiddenChars(const QString& name, const QString& boxText)
{
    QString text = name;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length && i < text.size(); ++i)
        if (TargetNameRule::IsForbiddenNameChar(text.at(i)))
            text = askCorrection(text, boxText);
    return text;
}

// A folder name of "." or ".." is refused with a text of its own.
QString TConnexion_CDDB_Form::correctedFolderName(const QString& name, const QString& boxText, const QString& dotText)
{
    QString text = withoutForbiddenChars(name, boxText);
    while (TargetNameRule::IsDotFolderName(text))
        text = withoutForbiddenChars(askCorrection(text, dotText), boxText);
    return text;
}

void TConnexion_CDDB_Form::BitBtn1Click()
{
    Artiste->setText(
        correctedFolderName(Artiste->text(), ArtistForbiddenText, TargetNameRule::DotFolderNameText(ArtistSubject)));
    Album->setText(
        correctedFolderName(Album->text(), AlbumForbiddenText, TargetNameRule::DotFolderNameText(AlbumSubject)));
    for (int i = 0; i < ListBox1->count(); ++i)
        ListBox1->item(i)->setText(withoutForbiddenChars(ListBox1->item(i)->text(), QString()));
    if (ListBox1->count() == 0)
        return;

    const QString artist = Artiste->text();
    const QString album = Album->text();
    fillTagEditor(artist, album);
    fillRows(artist, album);
    m_rows.SetFolder(TargetNameRule::SubFolder(TargetNameRule::SubFolder(m_rows.DefaultFolder(), artist), album));
    closeWindow(QDialog::Accepted);
}

// A source that gives no genre (MusicBrainz) or no year leaves them as they are.
void TConnexion_CDDB_Form::fillTagEditor(const QString& artist, const QString& album)
{
    AlbumSheet::Album values = m_rows.Sheet().AlbumValues();
    values.artist = artist;
    values.title = album;
    if (!m_release.genre.isEmpty())
        values.genre = m_release.genre;
    if (!m_release.year.isEmpty())
        values.year = m_release.year;
    values.source = QStringLiteral("CDDB");
    m_rows.Sheet().SetAlbum(values);
}

// A record with fewer titles than the track number leaves the title empty,
// so the target name falls back to the row's label.
QString TConnexion_CDDB_Form::titleOfTrack(int track) const
{
    return track >= 1 && track <= ListBox1->count() ? ListBox1->item(track - 1)->text() : QString();
}

void TConnexion_CDDB_Form::fillRows(const QString& artist, const QString& album)
{
    AlbumSheet& sheet = m_rows.Sheet();
    for (int k = 1; k <= sheet.TrackCount(); ++k) {
        sheet.SetValue(k, AlbumTrack::Artist, artist);
        sheet.SetValue(k, AlbumTrack::Album, album);
        if (!m_release.genre.isEmpty())
            sheet.SetValue(k, AlbumTrack::Genre, m_release.genre);
        if (!m_release.year.isEmpty())
            sheet.SetValue(k, AlbumTrack::Year, m_release.year);
        sheet.SetValue(k, AlbumTrack::Title, titleOfTrack(sheet.Track(k).number));
        sheet.Retarget(k, m_rows.Folder(), m_rows.RipsMp3());
    }
}

void TConnexion_CDDB_Form::BitBtn2Click()
{
    m_rows.RetargetRows();
    closeWindow(QDialog::Rejected);
}

void TConnexion_CDDB_Form::Image1Click()
{
    BitBtn2Click();
}

void TConnexion_CDDB_Form::closeWindow(int result)
{
    done(result);
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
