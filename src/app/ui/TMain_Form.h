#pragma once
#include "disc/ITrackTable.h"
#include "platform/PlatformServices.h"
#include "platform/ui/AppForms.h"
#include "rip/IRipHost.h"
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class AlbumSheet;
class CdPlayer;
class DiscToc;
class TCDRIP;
class TLameCoder;
class TMP3Info;
class ShadeOverlay;
class DestinationFolder;
class DriveChoice;
class MainTrackRows;
class PreviewButtons;

// The hub of the program: drives, disc poll, track rows, rip commands and
// the destination folder. The other windows reach its rows and its ripper
// through the interfaces it implements, never its controls.
class TMain_Form : public QMainWindow, public ITrackTable, public IRipHost {
    Q_OBJECT
public:

    // `arguments` are the command-line arguments left after the drive options.
    TMain_Form(AppForms& forms, const PlatformServices& services, const QStringList& arguments,
               QWidget* parent = nullptr);
    ~TMain_Form() override;

    // Controls.
    QAction* Calvenor_RIPPER = nullptr;
    QAction* Calvenor_Quit = nullptr;
    QAction* Calvenor_Preferences = nullptr;
    QAction* Action4 = nullptr;
    QAction* HELP_ABOUT = nullptr;
    QAction* Action1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* RED_CD = nullptr;
    QLabel* GREEN_CD = nullptr;
    QRadioButton* MP3Ripp = nullptr;
    QRadioButton* WavRipp = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QProgressBar* TotalProgress = nullptr;
    QProgressBar* localProgress = nullptr;
    QComboBox* DrivesList = nullptr;
    QLabel* Label1 = nullptr;
    QTreeWidget* CibleFiles = nullptr;
    QLabel* Play_Gray = nullptr;
    QLabel* Pause_Gray = nullptr;
    QLabel* Stop_Gray = nullptr;
    QLabel* Play_Blue = nullptr;
    QLabel* Pause_Blue = nullptr;
    QLabel* Stop_Blue = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* DirectoryText = nullptr;
    QToolButton* BitBtn4 = nullptr;
    QToolButton* BitBtn3 = nullptr;
    QToolButton* BitBtn5 = nullptr;
    QPushButton* EditTagsButton = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* DeleteItemButton = nullptr;
    QTimer* Timer1 = nullptr;

    QString DiscIdText;

    // Components.
    TCDRIP* CDRIP1() const { return m_cdrip.get(); }
    TLameCoder& LameCoder1() { return *m_lameCoder; }
    TMP3Info& MP3Info1() { return *m_mp3Info; }
    // The preview player.
    CdPlayer& lecteur() { return *m_lecteur; }

    // Track rows: slot k (1-based) is the k-th row; null outside 1..RowCount().
    int RowCount() const override;
    QTreeWidgetItem* TrackItems(int k) const;
    static QString Value(const QTreeWidgetItem* row, int value);
    static void SetValue(QTreeWidgetItem* row, int value, const QString& text);
    static QString Label(const QTreeWidgetItem* row);
    static bool Ticked(const QTreeWidgetItem* row);
    // Slot of the selected row, 0 when none is selected.
    int SelectedSlot() const override;
    // GREEN_CD shown: a disc is listed.
    bool DiscPresent() const;
    // The documents folder + "Ma musique/".
    QString DefaultFolder() const override;
    // The drive letter: first character of the drive list's text.
    QChar DriveLetter() const override;

    // The rows, folder, drive and disc identifier, for the other windows.
    QString RowLabel(int k) const override;
    QString Cell(int k, int value) const override;
    void SetCell(int k, int value, const QString& text) override;
    bool RowTicked(int k) const override;
    void SelectRow(int k) override;
    QString Folder() const override;
    void SetFolder(const QString& folder) override;
    bool RipsMp3() const override;
    void RetargetRows() override;
    QString DiscId() const override;
    AlbumSheet& Sheet() override { return *m_sheet; }
    const DiscToc& Toc() const override { return *m_toc; }

    // What the ripping window uses.
    ITrackTable& Rows() override { return *this; }
    TCDRIP& Ripper() override { return *m_cdrip; }
    TMP3Info& TagWriter() override { return *m_mp3Info; }
    void SetRippedCount(std::function<int()> count) override { RippedCount = std::move(count); }
    void ShowRipProgress(int trackPercent, int workDone) override;
    int TotalProgressValue() const override;
    void ResetProgress() override;

    // Handlers and operations.
    void ListCdDrives();
    void DrivesListChange();
    void Timer1Timer();
    void CDRIP1Progress(uint16_t percentComplete);
    void LameCoder1Progress(uint16_t percentComplete);
    void Action4Execute();
    void Calvenor_QuitExecute();
    void Calvenor_PreferencesExecute();
    void BuildTrackRows();
    void DirectoryTextChange();
    void MP3RippClick();
    void WavRippClick();
    void BitBtn2Click();
    void DeleteItemButtonClick();
    void BitBtn1Click();
    // DiscIdText := "ID : " + the identifier of the selected drive's disc.
    void RefreshDiscId() override;
    void EditTagsButtonClick();
    void CibleFilesSelectItem();
    void CibleFilesExit();
    void Play_BlueClick();
    void Pause_BlueClick();
    void Stop_BlueClick();
    void FormClose();
    void HELP_ABOUTExecute();
    void ShadeWindow();
    void Button2Click();
    void Button1Click();
    void Action1Execute();
    // The options window's mode and quality lists, passed to the encoder.
    void SetEncoderMode();
    void SetEncoderQuality();
    void Calvenor_RIPPERExecute();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    // True while the ripping window runs.
    bool Ripping() const { return m_ripping; }
    // Removes the shading and repaints.
    void Repaint();
    // Number of tracks the ripping window has finished in the current rip.
    std::function<int()> RippedCount;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool m_ripping = false;
    QString m_unreadableReason;
    void FormCreate(const QStringList& arguments);
    void connectHandlers();
    // Connects a signal to a handler whose errors reach the general error display.
    template <typename Sender, typename Signal, typename Handler>
    void on(Sender* sender, Signal signal, Handler handler, Qt::ConnectionType type = Qt::AutoConnection);
    // A source that is there but cannot be read (a cue sheet without its
    // .bin) says why in a box, once for each new reason.
    void sayWhyUnreadable(QChar letter);
    void replaceRipper();
    // MP3 through the encoder, else WAV.
    void setRipFormat(bool mp3);

    AppForms& m_forms;
    PlatformServices m_services;
    std::unique_ptr<AlbumSheet> m_sheet;
    std::unique_ptr<DiscToc> m_toc;
    std::unique_ptr<TLameCoder> m_lameCoder;
    std::unique_ptr<TMP3Info> m_mp3Info;
    std::unique_ptr<TCDRIP> m_cdrip;
    std::unique_ptr<CdPlayer> m_lecteur;
    ShadeOverlay* m_shade = nullptr;
    std::unique_ptr<MainTrackRows> m_rows;
    std::unique_ptr<DriveChoice> m_drive;
    std::unique_ptr<DestinationFolder> m_folder;
    std::unique_ptr<PreviewButtons> m_preview;
};
