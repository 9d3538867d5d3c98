#pragma once
#include "platform/IDialogService.h"
#include "platform/ui/CalvenorDialog.h"
#include "rip/RipRun.h"
#include <QElapsedTimer>
#include <QStringList>
#include <memory>

class QLabel;
class QTimer;
class RipReport;
class RipRun;
class IRipHost;
class TrackRowList;

// The small window on screen while the ticked tracks are ripped. Half a second
// after it shows, it runs the whole rip run, then closes itself.
class TRippageEnCour : public CalvenorDialog {
    Q_OBJECT
public:
    TRippageEnCour(AppForms& forms, const PlatformServices& services, IRipHost& host, QWidget* parent = nullptr);
    ~TRippageEnCour() override;

    QLabel* BackGound = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr; // the run's percentage and time left
    QTimer* Timer1 = nullptr;

    // "37 % – Temps restant : 02:10"; without the time while it is unknown (-1).
    static QString ProgressText(int percent, int secondsLeft);
    // "Piste 3/5 – Titre": the track's place in the run; without a title, its place only.
    static QString TrackText(int position, int count, const QString& title);
    // Rows finished in the current run.
    int RippedCount() const;
    bool RunStopped() const;
    // Called by the host's disc poll when the disc goes away during a run.
    void DiscRemoved();

    void FormShow();
    void Timer1Timer();
    void Image1Click();
    void Label3Click();
    void FormClose();
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void prepareVerification();
    void finishRun();
    // The damage of the tracks that have a file, one line each.
    QString lostSectorLines() const;
    static QString joinParagraphs(const QStringList& paragraphs);
    static bool keptStoppedFile(const RipReport& report);
    void offerFolder(MsgKind kind, const QString& text);
    // An end message; with a log saved it offers "Voir le rapport", which opens it.
    MsgAnswer tell(MsgKind kind, const QString& text, MsgButtons buttons);
    RipRun::Overwrite askOverwrite(const QString& file);
    void stopRun();
    void showStatus(int track, const QString& path);
    void showProgress(int trackPercent, int workDone, int track, const QString& target);
    void resetProgress();

    IRipHost& m_host;
    std::unique_ptr<TrackRowList> m_rows;
    std::unique_ptr<RipRun> m_run;
    QString m_shownTarget;
    QElapsedTimer m_clock;
    bool m_stopped = false;
    bool m_showing = false;
    bool m_executing = false;
};
