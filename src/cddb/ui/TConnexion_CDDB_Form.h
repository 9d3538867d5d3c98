#pragma once
#include "cddb/DiscLookup.h"
#include "cddb/IReleaseChooser.h"
#include "platform/ui/CalvenorDialog.h"
#include <atomic>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;
class ITrackTable;
class TEmail_Form;

// Shows one lookup of the selected drive's disc (DiscLookup: CDDB and
// MusicBrainz in the order of the settings) and what it found; on
// "Appliquer", writes it into the album sheet and the destination folder.
// Its contents stay from one showing to the next.
class TConnexion_CDDB_Form : public CalvenorDialog, private IReleaseChooser {
    Q_OBJECT
public:
    void done(int result) override;
    TConnexion_CDDB_Form(AppForms& forms, const PlatformServices& services, ITrackTable& rows,
                         QWidget* parent = nullptr);
    ~TConnexion_CDDB_Form() override;

    QLabel* BackGround = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Image1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Artiste = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Album = nullptr;
    QLabel* Label7 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QTimer* Timer1 = nullptr;
    TCDDBConnect& CDDBConnect1() { return m_lookup.Cddb(); }
    TEmail_Form* EmailForm() const { return m_email; }

    // The CDDB server of the lookup: the one set here (a test or a
    // demonstration), else the one of the settings, else the default.
    QString CddbServer() const;
    void SetCddbServer(const QString& address) { m_server = address; }

    // Shows the window modally and starts the lookup; returns when it closes.
    int ShowModal();

    void FormShow();
    void Timer1Timer();
    void BitBtn1Click();
    void BitBtn2Click();
    void Image1Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    template <typename Sender, typename Signal, typename Handler>
    void on(Sender* sender, Signal signal, Handler handler);
    void lookUp();
    void find();
    int Choose(const QList<AlbumRelease>& candidates, bool uncertain) override;
    void runChooser();
    void showRelease(const AlbumRelease& release);
    void setStatus(const QString& text, int progress);
    // Shows the box text, when there is one, then the rename window.
    QString askCorrection(const QString& name, const QString& boxText);

    ITrackTable& m_rows;
    DiscLookup m_lookup;
    TEmail_Form* m_email = nullptr;
    QString m_server;
    // What "Appliquer" writes: the release on show.
    AlbumRelease m_release;
    bool m_lookingUp = false;
    int m_pendingClose = -1;
    std::atomic<bool> m_cancel{false};
};
