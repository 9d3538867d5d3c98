#pragma once
#include "app/ui/AppForms.h"
#include "platform/PlatformServices.h"
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
class CdPlayer;
class TCDRIP;
class TLameCoder;
class TMP3Info;
class ShadeOverlay;

// The hub of the program: drives, disc poll, track rows, rip commands and
// the destination folder. Other windows read and write its controls.
class TMain_Form : public QMainWindow {
    Q_OBJECT
public:
    // Row values: 0 target path, 1 title, 2 artist, 3 album, 4 year, 5 genre, 6 comment.
    enum RowValue { TargetValue = 0, TitleValue, ArtistValue, AlbumValue, YearValue, GenreValue, CommentValue };

    // `arguments` are the command-line arguments left after the drive options.
    TMain_Form(AppForms& forms, const PlatformServices& services, const QStringList& arguments,
               QWidget* parent = nullptr);
    ~TMain_Form() override;

    // Controls, reached directly by the other windows.
    QAction* Calvenor_RIPPER = nullptr;
    QAction* Calvenor_Quit = nullptr;
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
    int RowCount() const;
    QTreeWidgetItem* TrackItems(int k) const;
    static QString Value(const QTreeWidgetItem* row, int value);
    static void SetValue(QTreeWidgetItem* row, int value, const QString& text);
    static QString Label(const QTreeWidgetItem* row);
    static bool Ticked(const QTreeWidgetItem* row);
    // Slot of the selected row, 0 when none is selected.
    int SelectedSlot() const;
    // GREEN_CD shown: a disc is listed.
    bool DiscPresent() const;
    // The documents folder + "Ma musique/".
    QString DefaultFolder() const;
    // The drive letter: first character of the drive list's text.
    QChar DriveLetter() const;

    // Handlers and operations.
    void ListCdDrives();
    void DrivesListChange();
    void Timer1Timer();
    void CDRIP1Progress(uint16_t percentComplete);
    void LameCoder1Progress(uint16_t percentComplete);
    void Action4Execute();
    void Calvenor_QuitExecute();
    void BuildTrackRows();
    void DirectoryTextChange();
    void MP3RippClick();
    void WavRippClick();
    void BitBtn2Click();
    void DeleteItemButtonClick();
    void BitBtn1Click();
    // DiscIdText := "ID : " + the identifier of the selected drive's disc.
    void RefreshDiscId();
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
    // Asks to create a missing destination folder; true when it exists afterwards.
    bool ensureDestinationFolder();
    bool m_ripping = false;
    void FormCreate(const QStringList& arguments);
    void buildMenu();
    void buildControls();
    void connectHandlers();
    // Connects a signal to a handler whose errors reach the general error display.
    template <typename Sender, typename Signal, typename Handler>
    void on(Sender* sender, Signal signal, Handler handler);
    void clearRows();
    void replaceRipper();
    void setRowExtensions(const QString& extension);
    enum class PlayerButtons { Inactive, Ready, Playing };
    void setPlayerButtons(PlayerButtons state);

    AppForms& m_forms;
    PlatformServices m_services;
    std::unique_ptr<TLameCoder> m_lameCoder;
    std::unique_ptr<TMP3Info> m_mp3Info;
    std::unique_ptr<TCDRIP> m_cdrip;
    std::unique_ptr<CdPlayer> m_lecteur;
    ShadeOverlay* m_shade = nullptr;
};
