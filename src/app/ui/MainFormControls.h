#pragma once

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;
class QTreeView;
class TrackListRoom;

// The main window's controls, made by MainFormLayout, under the names the
// handlers carry.
struct MainFormControls {
    QAction* Calvenor_RIPPER = nullptr;
    QAction* OpenImage = nullptr; // "Ouvrir une image de disque…"
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
    QRadioButton* FlacRipp = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QProgressBar* TotalProgress = nullptr;
    QProgressBar* localProgress = nullptr;
    QComboBox* DrivesList = nullptr;
    QLabel* Label1 = nullptr;
    QTreeView* CibleFiles = nullptr;
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
    QToolButton* CoverPicture = nullptr; // the album's front cover
    QTimer* Timer1 = nullptr;
    TrackListRoom* ListRoom = nullptr; // how the list's columns share its width
};
