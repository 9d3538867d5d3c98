#include "rip/ui/TRippageEnCour.h"
#include "platform/CdioRipLibrary.h"
#include "platform/DesktopOpen.h"
#include "platform/DriveIdentity.h"
#include "platform/ErrorDisplay.h"
#include "platform/IDialogService.h"
#include "platform/IDrives.h"
#include "platform/IShell.h"
#include "platform/ui/EventWatcher.h"
#include "disc/AlbumSheet.h"
#include "disc/DiscToc.h"
#include "disc/ITrackTable.h"
#include "platform/Settings.h"
#include "rip/IRipHost.h"
#include "rip/RipRun.h"
#include "rip/TCDRIP.h"
#include "encode/ParallelTrackEncoder.h"
#include "rip/BackgroundRipRun.h"
#include "rip/TableTrackRows.h"
#include "rip/TrackRowList.h"
#include <QEvent>
#include <algorithm>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {
const QString RunningTitle = QStringLiteral("Rippage en cours...");
constexpr int Width = 250;
} // namespace

TRippageEnCour::TRippageEnCour(AppForms& forms, const PlatformServices& services, IRipHost& host, QWidget* parent)
    : CalvenorDialog(forms, services, parent, Qt::Dialog | Qt::FramelessWindowHint), m_host(host)
{
    SetEscapeCloses(false);
    m_forms.RippageEnCour = this;
    setWindowTitle(RunningTitle);
    setModal(true);
    // Rows as high as the font needs, at any scale: a percentage never loses its top.
    const int line = fontMetrics().height() + 4;
    const int height = 8 + 2 * line + 4 + 2 * line + 6 + line + 4;
    setFixedSize(Width, height);

    BackGound = new QLabel(this);
    BackGound->setPixmap(QPixmap(QStringLiteral(":/images/rip_background.png")));
    BackGound->setScaledContents(true);
    BackGound->setGeometry(0, 0, Width, height);

    Image1 = new QLabel(this);
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/rip_stop.png")));
    Image1->setGeometry(226, 8, 16, 16);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip(QStringLiteral("Arréter le rippage"));
    Image1->setAccessibleName(QStringLiteral("Arrêter le rippage"));
    Image1->setAccessibleDescription(QStringLiteral("Arrête le rippage en cours."));
    connect(new EventWatcher(Image1), &EventWatcher::clicked, this, [this] { Image1Click(); });

    const QString silver = QStringLiteral("color: #c0c0c0;");
    Label1 = new QLabel(RunningTitle, this);
    Label1->setStyleSheet(silver + QStringLiteral("font-weight: bold;"));
    Label1->setGeometry(10, 8, 210, line);

    Label2 = new QLabel(QStringLiteral("Le rippage va commencer..."), this);
    Label2->setStyleSheet(silver);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);
    Label2->setGeometry(10, 8 + line + 4, Width - 20, 2 * line);

    Label3 = new QLabel(QStringLiteral("Réduire la fenêtre"), this);
    QFont underlined = Label3->font();
    underlined.setUnderline(true);
    Label3->setFont(underlined);
    Label3->setStyleSheet(silver);
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->setToolTip(QStringLiteral("Réduire la fenêtre durant le rippage"));
    Label3->setGeometry(10, height - line - 4, 150, line);
    connect(new EventWatcher(Label3), &EventWatcher::clicked, this, [this] { Label3Click(); });

    Label4 = new QLabel(this);
    Label4->setStyleSheet(silver);
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setGeometry(10, 8 + 3 * line + 4, Width - 20, line);

    Timer1 = new QTimer(this);
    Timer1->setInterval(500);
    Timer1->setSingleShot(false);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

TRippageEnCour::~TRippageEnCour() = default;

int TRippageEnCour::RippedCount() const
{
    return m_run ? m_run->RippedCount() : 0;
}

bool TRippageEnCour::RunStopped() const
{
    return m_stopped;
}

void TRippageEnCour::showEvent(QShowEvent* event)
{
    CalvenorDialog::showEvent(event);
    // Restoring a minimised window shows it again: that is not a new showing.
    if (m_showing)
        return;
    m_showing = true;
    // A run refused before it starts (a playlist that cannot be read, two
    // tracks named alike) leaves nothing to wait for.
    if (!ErrorDisplay::Run(*m_services.dialogs, [this] { FormShow(); }))
        QTimer::singleShot(0, this, [this] { close(); });
}

void TRippageEnCour::FormShow()
{
    m_stopped = false;
    m_shownTarget.clear();
    m_rows = std::make_unique<TrackRowList>(TrackRowList::CopyOf(TableTrackRows(m_host.Rows())));
    m_run = std::make_unique<RipRun>(*m_rows, m_host.Ripper(), m_host.TagWriter());
    prepareVerification();
    m_host.SetRippedCount([this] { return RippedCount(); });
    Label1->setText(RunningTitle);
    Label2->setText(QStringLiteral("Le rippage va commencer..."));
    Label4->clear();
    // A playlist that cannot be read is not overwritten: the run does not start.
    m_run->Begin();
    Timer1->start();
}

void TRippageEnCour::prepareVerification()
{
    TCDRIP& ripper = m_host.Ripper();
    const QChar letter = m_host.Rows().DriveLetter();
    const DriveIdentity drive = m_services.drives ? DriveIdentity::Of(*m_services.drives, letter) : DriveIdentity();
    ripper.ReadOffset = drive.ReadOffset(*m_services.settings);
    m_run->SetVerification(
        RipVerification::Online(m_services.http, m_services.internet, m_host.Rows().Toc(), m_services.settings));
    m_run->SetToc(m_host.Rows().Toc());
    if (m_services.drives)
        m_run->SetSubchannelSource(m_services.cdAudio, m_services.drives->source(letter));
    m_run->SetAlbum(AlbumIdentityTags(m_host.Rows().Sheet(), m_host.Rows().Toc()));
    m_run->SetPasses(m_services.settings->Passes());
    m_run->SetCover(RipCover::FromAlbum(m_host.Rows().Sheet().AlbumValues(), m_services.settings->Cover()));
    m_run->SetReplayGain(m_services.settings->ReplayGain());
    m_run->SetKeepsIncomplete(m_services.settings->KeepIncomplete());
    RipLog::Header header;
    header.Source = m_services.drives ? m_services.drives->source(letter) : QString();
    header.Drive = m_services.drives ? drive.LogText() : QString();
    header.ReadOffset = ripper.ReadOffset;
    header.ParanoiaMode = CdioRipLibrary::ModeText(ripper.JitterCorrect());
    m_run->SetLogHeader(header);
}

void TRippageEnCour::Timer1Timer()
{
    Timer1->stop();
    if (!m_run || m_stopped)
        return;
    const bool go = m_run->AskOverwrite([this](const QString& file) { return askOverwrite(file); });
    // A stop may come while a question is up.
    if (m_stopped)
        return;
    // "Annuler": nothing is read and the window goes.
    if (!go) {
        close();
        return;
    }
    m_run->SetEncoders(ParallelTrackEncoder::DefaultEncoders());
    // An error halts the run: the window stays open, showing the failed track,
    // until the user presses stop.
    m_executing = true;
    m_clock.start();
    const bool done = ErrorDisplay::Run(*m_services.dialogs, [this] {
        try {
            // Reading, encoding and tagging go on off this thread; the window
            // takes the progress a few times a second and stays responsive.
            BackgroundRipRun(*m_run).Execute([this](const BackgroundRipRun::Progress& p) {
                showProgress(p.trackPercent, p.workDone, p.track, p.target);
            });
            m_executing = false;
        } catch (...) {
            m_executing = false;
            // The window no longer says it is ripping when the error shows;
            // a minimised program comes back first.
            Label1->setText(QStringLiteral("Rippage interrompu"));
            m_services.shell->restoreApplication();
            throw;
        }
    });
    if (done)
        finishRun();
}

void TRippageEnCour::showProgress(int trackPercent, int workDone, int track, const QString& target)
{
    // After a stop the bars stay at 0: that is how the end of the run knows.
    if (m_stopped)
        return;
    if (target != m_shownTarget) {
        m_shownTarget = target;
        showStatus(track, target);
    }
    m_host.ShowRipProgress(trackPercent, workDone);
    const int total = m_run->WorkTotal();
    Label4->setText(ProgressText(total > 0 ? 100 * workDone / total : 0, m_run->SecondsLeft(m_clock.elapsed())));
}

QString TRippageEnCour::ProgressText(int percent, int secondsLeft)
{
    QString text = QStringLiteral("%1 %").arg(percent);
    if (secondsLeft >= 0)
        text += QStringLiteral(" – Temps restant : ") + RipReport::Clock(secondsLeft);
    return text;
}

QString TRippageEnCour::TrackText(int position, int count, const QString& title)
{
    const QString text = QStringLiteral("Piste %1/%2").arg(position).arg(count);
    return title.isEmpty() ? text : text + QStringLiteral(" – ") + title;
}

void TRippageEnCour::showStatus(int track, const QString& path)
{
    // The run's tracks in order: the ticked rows the user did not leave out.
    QList<int> inRun;
    QString title;
    for (int k = 1; k <= m_rows->RowCount(); ++k) {
        const AlbumTrack row = m_rows->Row(k);
        if (row.ticked && !m_run->SkippedTracks().contains(row.number))
            inRun << row.number;
        if (row.number == track)
            title = row.value(AlbumTrack::Title);
    }
    // Two lines at most; the hint holds the file's whole path.
    const QFontMetrics metrics(Label2->font());
    const QString text = TrackText(int(inRun.indexOf(track)) + 1, int(inRun.size()), title);
    Label2->setText(metrics.elidedText(text, Qt::ElideRight, 2 * Label2->width() - 4 * metrics.averageCharWidth()));
    Label2->setToolTip(path);
}

void TRippageEnCour::finishRun()
{
    Label2->clear();
    m_services.shell->restoreApplication();
    const RipReport& report = m_run->Report();
    m_host.ShowResults(report);
    const QString skipped = m_run->SkippedTracksText();
    if (!m_run->UnreadTracks().isEmpty())
        tell(MsgKind::Error, joinParagraphs({m_run->UnreadTracksText(), lostSectorLines(), skipped}), MsgButtons::Ok);
    else if (m_run->WasDiscRemoved())
        tell(MsgKind::Warning, m_run->DiscRemovedText(), MsgButtons::Ok);
    else if (!report.InterruptionLines().isEmpty())
        tell(MsgKind::Warning,
             joinParagraphs({report.InterruptionLines().join('\n'),
                             keptStoppedFile(report)
                                 ? QStringLiteral("La partie lue n'a été ni étiquetée ni ajoutée à la liste de "
                                                  "lecture ; un fichier complet de la piste, s'il y en avait un, "
                                                  "est resté tel quel.")
                                 : QString(),
                             skipped}),
             MsgButtons::Ok);
    else if (report.LostSectors() || report.DiffersFromKnownDisc())
        offerFolder(MsgKind::Warning,
                    joinParagraphs({report.LostSectors()
                                        ? QStringLiteral("Calvenor a terminé de ripper les pistes demandées, mais des "
                                                         "secteurs n'ont pas pu être lus. Les fichiers ont été "
                                                         "conservés.\n")
                                              + lostSectorLines()
                                        : QStringLiteral("Calvenor a terminé de ripper les pistes demandées, mais des "
                                                         "pistes diffèrent des bases AccurateRip ou CTDB."),
                                    report.ProofLines().join('\n'), skipped,
                                    QStringLiteral("Voulez vous ouvrir le répertoire contenant les nouveaux fichiers ?")}));
    else if (m_host.Rows().Sheet().TrackCount() > 0 && m_host.TotalProgressValue() != 0) {
        m_services.shell->beep();
        offerFolder(MsgKind::Confirmation,
                    joinParagraphs({report.ProofLines().join('\n'), skipped,
                                    QStringLiteral("Calvenor a terminé de ripper les pistes demandées avec succès. "
                                                   "Voulez vous ouvrir le répertoire contenant les nouveaux fichiers ?")}));
    } else if (!skipped.isEmpty())
        tell(MsgKind::Information, skipped, MsgButtons::Ok);
    resetProgress();
    close();
}

QString TRippageEnCour::lostSectorLines() const
{
    QStringList lines;
    for (const TrackRipResult& t : m_run->Report().Tracks())
        if (t.FileWritten && t.LostSectors())
            lines << RipReport::DamageLine(t);
    return lines.join('\n');
}

// A track stopped in its test read has no file to speak of.
bool TRippageEnCour::keptStoppedFile(const RipReport& report)
{
    return std::any_of(report.Tracks().begin(), report.Tracks().end(),
                       [](const TrackRipResult& t) { return t.Interrupted && t.FileWritten; });
}

QString TRippageEnCour::joinParagraphs(const QStringList& paragraphs)
{
    QStringList kept = paragraphs;
    kept.removeAll(QString());
    return kept.join(QStringLiteral("\n\n"));
}

void TRippageEnCour::offerFolder(MsgKind kind, const QString& text)
{
    if (tell(kind, text, MsgButtons::YesNo) == MsgAnswer::Yes)
        DesktopOpen::Open(*m_services.shell, *m_services.dialogs, m_host.Rows().Folder());
}

MsgAnswer TRippageEnCour::tell(MsgKind kind, const QString& text, MsgButtons buttons)
{
    const QString log = m_run->LogFileName();
    if (!log.isEmpty())
        buttons = buttons == MsgButtons::YesNo ? MsgButtons::YesNoReport : MsgButtons::OkReport;
    const MsgAnswer answer = m_services.dialogs->message(kind, text, buttons);
    if (answer == MsgAnswer::Report)
        DesktopOpen::Open(*m_services.shell, *m_services.dialogs, log);
    return answer;
}

RipRun::Overwrite TRippageEnCour::askOverwrite(const QString& file)
{
    const MsgAnswer answer =
        m_services.dialogs->message(MsgKind::Confirmation,
                                    QStringLiteral("Le fichier « %1 » existe déjà. Le remplacer ?").arg(file),
                                    MsgButtons::YesAllNoAllCancel);
    switch (answer) {
    case MsgAnswer::Yes: return RipRun::Overwrite::Replace;
    case MsgAnswer::YesToAll: return RipRun::Overwrite::ReplaceAll;
    case MsgAnswer::No: return RipRun::Overwrite::Skip;
    case MsgAnswer::NoToAll: return RipRun::Overwrite::SkipAll;
    // A box closed without an answer replaces nothing and starts nothing.
    default: return RipRun::Overwrite::Cancel;
    }
}

void TRippageEnCour::resetProgress()
{
    m_host.ResetProgress();
}

void TRippageEnCour::Image1Click()
{
    stopRun();
    close();
}

void TRippageEnCour::stopRun()
{
    resetProgress();
    m_stopped = true;
    Timer1->stop();
    if (m_run)
        m_run->Stop();
}

void TRippageEnCour::Label3Click()
{
    m_services.shell->minimizeApplication();
}

void TRippageEnCour::DiscRemoved()
{
    if (m_run)
        m_run->DiscRemoved();
}

void TRippageEnCour::closeEvent(QCloseEvent* event)
{
    // Closed by the window frame while tracks are ripped: that is a stop.
    if (m_executing && !m_stopped)
        stopRun();
    QDialog::closeEvent(event);
}

void TRippageEnCour::done(int result)
{
    FormClose();
    CalvenorDialog::done(result);
}

void TRippageEnCour::FormClose()
{
    Timer1->stop();
    m_showing = false;
}

