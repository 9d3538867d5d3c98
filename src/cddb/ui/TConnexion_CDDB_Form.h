#pragma once
#include "cddb/AlbumRelease.h"
#include "platform/ui/CalvenorDialog.h"
#include <QStringList>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;
class ITrackTable;
class MusicBrainzClient;
class TCDDBConnect;
class TEmail_Form;

// Runs one lookup for the disc of the selected drive, CDDB first and
// MusicBrainz when CDDB has no record (or the other way round, as the
// settings say), shows what was found and, on "Appliquer", writes it into the
// track rows, the tag editor and the destination folder. Its contents stay
// from one showing to the next.
class TConnexion_CDDB_Form : public CalvenorDialog {
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
    TCDDBConnect& CDDBConnect1() { return *m_cddb; }
    TEmail_Form* EmailForm() const { return m_email; }

    // The server SetupServer hands to the client: the one set here (a test or
    // a demonstration), else the one of the settings, else the default.
    QString CddbServer() const;
    void SetCddbServer(const QString& address) { m_server = address; }

    // Shows the window modally and starts the lookup; returns when it closes.
    int ShowModal();

    void FormShow();
    void Timer1Timer();
    void BitBtn1Click();
    void BitBtn2Click();
    void Image1Click();
    void SetupServer();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    template <typename Sender, typename Signal, typename Handler>
    void on(Sender* sender, Signal signal, Handler handler);
    enum class Outcome { Found, NotFound, Cancelled };
    void lookUp();
    bool findRelease();
    Outcome askCddb();
    Outcome askMusicBrainz();
    int chooseRelease(const QList<AlbumRelease>& releases);
    Outcome queryServer();
    // Runs a request to a server off the window's thread; false when the
    // window was closed meanwhile, which cancels it.
    bool request(const std::function<void()>& call);
    Outcome chooseAndRead(int code, const QString& answer);
    void runChooser();
    Outcome showRecordOrAnswer(const QString& readAnswer);
    void showRelease(const AlbumRelease& release);
    void reportNothingFound();
    void setStatus(const QString& text, int progress);
    void letInputThrough();
    QString renamed(const QString& name);
    QString askCorrection(const QString& name, const QString& boxText);
    QString withoutForbiddenChars(const QString& name, const QString& boxText);
    QString correctedFolderName(const QString& name, const QString& boxText, const QString& dotText);
    QString titleOfTrack(int track) const;
    void fillTagEditor(const QString& artist, const QString& album);
    void fillRows(const QString& artist, const QString& album);
    // Closes now, or at the end of a running lookup.
    void closeWindow(int result);

    ITrackTable& m_rows;
    std::unique_ptr<TCDDBConnect> m_cddb;
    std::unique_ptr<MusicBrainzClient> m_musicBrainz;
    TEmail_Form* m_email = nullptr;
    QString m_server;
    // What "Appliquer" writes: the release on show.
    AlbumRelease m_release;
    // Why the sources of this lookup gave nothing; a CDDB failure raised.
    QStringList m_failures;
    std::exception_ptr m_cddbError;
    bool m_lookingUp = false;
    int m_pendingClose = -1;
    std::atomic<bool> m_cancel{false};
};
