#pragma once
#include "platform/DriveIdentity.h"
#include "platform/ui/CalvenorDialog.h"
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class TLameCoder;

// The MP3 encoder's options. Every change goes at once into the encoder
// the rips use; the window keeps no settings of its own.
class TEncode_Options_Form : public CalvenorDialog {
    Q_OBJECT
public:
    struct FoundOffset {
        int Offset = 0; // samples
        int Confidence = 0;
    };
    // What "Détecter" runs, off the window's thread: the drive's read offset,
    // or nothing when no offset matches. Raises CalvenorError with a French
    // text when it cannot search (no network, unknown disc, unreadable track).
    using OffsetDetection = std::function<std::optional<FoundOffset>()>;

    TEncode_Options_Form(AppForms& forms, const PlatformServices& services, TLameCoder& coder,
                         QWidget* parent = nullptr);

    QLabel* BackGround = nullptr;
    QLabel* TitleImg = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* SelectSampleRate = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* SelectBitRate = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* SelectMaxBitRate = nullptr;
    QLabel* Label8 = nullptr;
    QComboBox* SelectMode = nullptr;
    QLabel* Label10 = nullptr;
    QComboBox* SelectQuality = nullptr;
    QCheckBox* VBRCheck = nullptr;
    QCheckBox* WriteVBRHeaderCheck = nullptr;
    QLabel* Label3 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLabel* Label7 = nullptr;
    QCheckBox* CopyrightCheck = nullptr;
    QCheckBox* OriginalCheck = nullptr;
    QCheckBox* CRCCheck = nullptr;
    QCheckBox* PrivateCheck = nullptr;
    QLabel* Label9 = nullptr;
    QSpinBox* ReadOffsetEdit = nullptr;
    QPushButton* DetectButton = nullptr;
    QCheckBox* VerifyCheck = nullptr;
    QSpinBox* PassesEdit = nullptr;
    QLabel* PassesLabel = nullptr; // the caption of PassesEdit
    QLabel* Label11 = nullptr;
    QSpinBox* FlacLevelEdit = nullptr;
    QPushButton* RestoreButton = nullptr;
    QPushButton* CloseButton = nullptr;

    // Handlers, run when the user acts.
    void FormCreate();
    void SelectSampleRateChange();
    void SelectBitRateChange();
    void SelectMaxBitRateChange();
    void SelectModeChange();
    void SelectQualityChange();
    void TrackBar1Change();
    void VBRCheck1Click();
    void WriteVBRHeaderCheckClick();
    void CopyrightCheck1Click();
    void OriginalCheck1Click();
    void CRCCheck1Click();
    void PrivateCheck1Click();
    void ReadOffsetEditChange();
    void DetectButtonClick();
    void VerifyCheckClick();
    void PassesEditChange();
    void FlacLevelEditChange();
    void RestoreButtonClick();
    void CloseButtonClick();
    // Every control and every encoder setting back to the defaults, without
    // running the change handlers.
    void RestoreDefaultChoices();
    // The drive whose read offset the box shows and saves, and how to detect
    // it; without a detection (no drive, no disc) "Détecter" is disabled.
    void SetDrive(const DriveIdentity& drive, OffsetDetection detect);
    // Every control as the encoder's settings are, without running the
    // change handlers (settings restored from a last run).
    void ShowCoderChoices();

private:
    void buildControls();
    void connectHandlers();
    TLameCoder& coder() const { return m_coder; }
    // The reads of each track, as the settings hold them.
    void showPasses(int passes);
    void storePasses();
    // Tells the user when what was just stored could not be saved.
    void warnIfUnsaved(const QString& what);

    TLameCoder& m_coder;
    DriveIdentity m_drive;
    OffsetDetection m_detect;
};
