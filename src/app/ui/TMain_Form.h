#pragma once
#include "encode/FileFormat.h"
#include "app/DiscSession.h"
#include "app/HelpPage.h"
#include "app/RememberedChoices.h"
#include "app/ui/DestinationFolder.h"
#include "app/ui/DriveChoice.h"
#include "app/ui/MainFormControls.h"
#include "app/ui/PreviewButtons.h"
#include "platform/ui/ShadeOverlay.h"
#include "disc/AlbumSheet.h"
#include "disc/ITrackTable.h"
#include "encode/ui/TEncode_Options_Form.h"
#include "platform/PlatformServices.h"
#include "platform/ui/AppForms.h"
#include "rip/IRipHost.h"
#include <QMainWindow>
#include <QProgressBar>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class AlbumCover;
class CdPlayer;
class CoverButton;
class DiscToc;
class TCDRIP;
class TLameCoder;
class TMP3Info;
class TrackListModel;

// The hub of the program: drives, disc poll, the track list (a view of the
// album sheet), rip commands and the destination folder. The other windows
// reach the sheet, the table of contents and the ripper through the
// interfaces it implements, never its controls.
class TMain_Form : public QMainWindow, public MainFormControls, public ITrackTable, public IRipHost {
    Q_OBJECT
public:
    // `arguments` are the command-line arguments left after the drive options.
    TMain_Form(AppForms& forms, const PlatformServices& services, const QStringList& arguments,
               QWidget* parent = nullptr);
    ~TMain_Form() override;

    QString DiscIdText;

    // Components.
    TCDRIP* CDRIP1() const { return &m_disc->Ripper(); }
    TLameCoder& LameCoder1() { return *m_lameCoder; }
    TMP3Info& MP3Info1() { return *m_mp3Info; }
    CdPlayer& lecteur() { return *m_lecteur; } // the preview player

    // GREEN_CD shown: a disc is listed.
    bool DiscPresent() const;

    // The sheet, folder, drive and disc identifier, for the other windows.
    AlbumSheet& Sheet() override { return m_disc->Sheet(); }
    const DiscToc& Toc() const override { return m_disc->Toc(); }
    int SelectedSlot() const override;
    void SelectRow(int k) override;
    QString Folder() const override { return m_folder->Text(); }
    void SetFolder(const QString& folder) override { m_folder->SetText(folder); }
    QString DefaultFolder() const override;
    QString OutputExtension() const override;
    // The format the radio buttons choose.
    FileFormat ChosenFormat() const;
    void RetargetRows() override { DirectoryTextChange(); }

    // The format and the music folder a next run may start from: the folder
    // the user chose by hand, else the one this run started from.
    RememberedChoices::Choices Choices() const;
    // Starts from the choices of a last run: their format, and their folder
    // as the music folder new discs and lookups start from.
    void RestoreChoices(const RememberedChoices::Choices& choices);
    QChar DriveLetter() const override { return m_drive->Letter(); }
    QString DiscId() const override { return DiscIdText; }
    // DiscIdText := "ID : " + the identifier of the listed disc.
    void RefreshDiscId() override;

    // What the ripping window uses.
    ITrackTable& Rows() override { return *this; }
    TCDRIP& Ripper() override { return m_disc->Ripper(); }
    TMP3Info& TagWriter() override { return *m_mp3Info; }
    void SetRippedCount(std::function<int()> count) override { RippedCount = std::move(count); }
    void ShowRipProgress(int trackPercent, int workDone) override
    {
        localProgress->setValue(trackPercent);
        TotalProgress->setValue(workDone);
    }
    int TotalProgressValue() const override { return TotalProgress->value(); }
    void ResetProgress() override { ShowRipProgress(0, 0); }
    void ShowResults(const RipReport& report) override;

    // Handlers, named after the control and what the user does with it.
    void ListCdDrives() { m_drive->ListCdDrives(); }
    void DrivesListChange();      // another drive chosen in the drive list
    void OpenImageExecute();      // "Ouvrir une image de disque…" menu
    void Timer1Timer();           // the disc poll, every second
    // The ripper or the encoder went further.
    void CDRIP1Progress(uint16_t percent) { ShowRipProgress(percent, percent + 100 * RippedCount()); }
    void LameCoder1Progress(uint16_t percent) { localProgress->setValue(percent); }
    void Action4Execute() { HelpPage::Open(*m_services.dialogs, *m_services.shell); } // Aide menu
    void Calvenor_QuitExecute() { close(); } // Quitter menu
    void Calvenor_PreferencesExecute(); // Préférences menu
    void BuildTrackRows();        // one unticked track per audio track of the disc
    void DirectoryTextChange();   // the target folder box edited: every target again
    void FormatClick();           // "Ripper en MP3", "WAV" or "FLAC" chosen
    void BitBtn2Click() { Sheet().TickAll(true); }            // "Tout sélectionner"
    void DeleteItemButtonClick() { Sheet().TickAll(false); }  // "Tout désélectionner"
    void BitBtn1Click();          // the lookup button: CDDB / MusicBrainz
    void EditTagsButtonClick();   // the tag editor for the selected track
    void CibleFilesSelectItem() { m_preview->SelectionChanged(); } // another track selected in the list
    void CibleFilesExit() { m_preview->ListLeft(); } // the focus left the list
    void Play_BlueClick();        // play picture
    void Pause_BlueClick() { m_preview->SkipForward(); } // forward picture: ten seconds on
    void Stop_BlueClick() { m_preview->Stop(); } // stop picture
    CoverButton& Cover() { return *m_coverButton; } // the album's front cover
    void FormClose() { m_preview->Close(); } // the window closes
    void HELP_ABOUTExecute();     // "A propos de Calvenor" menu
    void ShadeWindow() { m_shade->Cover(); }
    void Button2Click();          // "Ripper": rips the ticked tracks
    void Button1Click();          // "Options": the encoder options
    void Action1Execute();        // converter menu
    // The options window's mode and quality lists, passed to the encoder.
    void SetEncoderMode();
    void SetEncoderQuality();
    void Calvenor_RIPPERExecute() { Button2Click(); } // Ripper menu
    void BitBtn3Click() { m_folder->Browse(); } // browse for the target folder
    void BitBtn4Click() { m_folder->Up(); }     // the target folder's parent
    void BitBtn5Click() { m_folder->Open(); }   // open the target folder
    // True while the ripping window runs.
    bool Ripping() const { return m_ripping; }
    // Removes the shading and repaints.
    void Repaint() { m_shade->hide(); update(); }
    // Number of tracks the ripping window has finished in the current rip.
    std::function<int()> RippedCount;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(const QStringList& arguments);
    void connectHandlers();
    // Connects a signal to a handler whose errors reach the general error display.
    template <typename Sender, typename Signal, typename Handler>
    void on(Sender* sender, Signal signal, Handler handler, Qt::ConnectionType type = Qt::AutoConnection);
    // The disc left the drive: no tracks, no table of contents.
    void forgetDisc();
    // What the options window's "Détecter" runs for the listed disc.
    TEncode_Options_Form::OffsetDetection offsetDetection();
    // The ripper's format from the radio buttons.
    void setRipFormat();

    bool m_ripping = false;
    AppForms& m_forms;
    PlatformServices m_services;
    std::unique_ptr<DiscSession> m_disc;
    std::unique_ptr<TLameCoder> m_lameCoder;
    std::unique_ptr<TMP3Info> m_mp3Info;
    std::unique_ptr<CdPlayer> m_lecteur;
    ShadeOverlay* m_shade = nullptr;
    TrackListModel* m_trackModel = nullptr;
    std::unique_ptr<DriveChoice> m_drive;
    std::unique_ptr<DestinationFolder> m_folder;
    // Empty: the documents' "Ma musique".
    QString m_musicFolder;
    std::unique_ptr<PreviewButtons> m_preview;
    std::unique_ptr<AlbumCover> m_cover;
    CoverButton* m_coverButton = nullptr;
};
