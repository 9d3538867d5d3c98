#pragma once
#include "platform/ui/CalvenorDialog.h"
#include <memory>
#include <utility>
#include <vector>

class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;
class ConvertJob;
enum class ConvertDirection;
class TLameCoder;

// Converts a file between WAV, MP3 and FLAC, or every such file of a folder,
// beside the sources, with an encoder of its own.
class TConvert_Form : public CalvenorDialog {
    Q_OBJECT
public:
    TConvert_Form(AppForms& forms, const PlatformServices& services, QWidget* parent = nullptr);
    ~TConvert_Form() override;

    QLabel* Label1 = nullptr;
    QRadioButton* ConvertFile = nullptr;
    QRadioButton* ConvertDirectory = nullptr;
    QLineEdit* Chemin = nullptr;
    QToolButton* Explore = nullptr;
    QRadioButton* WAVtoMP3 = nullptr;
    QRadioButton* MP3toWAV = nullptr;
    QRadioButton* WAVtoFLAC = nullptr;
    QRadioButton* FLACtoWAV = nullptr;
    QRadioButton* MP3toFLAC = nullptr;
    QRadioButton* FLACtoMP3 = nullptr;
    QLabel* Label2 = nullptr;
    QProgressBar* RbProgressBar1 = nullptr;
    QPushButton* RbButton1 = nullptr;
    QPushButton* RbButton2 = nullptr;

    TLameCoder& LameCoder1() { return *m_lameCoder; }
    // True while " Convertir" runs.
    bool Converting() const;

    // Handlers. A radio button's handler runs when it becomes selected, not
    // when the selected one is clicked again.
    void ConvertFileClick();
    void ConvertDirectoryClick();
    void WAVtoMP3Click();
    void MP3toWAVClick();
    // The FLAC choices, as the two above.
    void FlacChoiceClick();
    void ExploreClick();
    void RbButton1Click();
    void RbButton2Click();

    void done(int result) override;

private:
    void buildControls();
    void connectHandlers();
    QFrame* panel(const QRect& where);
    void setControlsEnabled(bool enabled);
    QRadioButton* directionButton(const QString& text, ConvertDirection direction, int row, int column);
    ConvertDirection direction() const;
    // The file chooser's kinds: all those read, and each alone.
    QString fileFilter() const;
    // Ticks a direction from that kind, the same target if it can.
    void chooseDirectionFor(const QString& sourceExtension);

    std::unique_ptr<TLameCoder> m_lameCoder;
    std::unique_ptr<ConvertJob> m_job;
    QFrame* m_pathPanel = nullptr;
    QFrame* m_directionPanel = nullptr;
    std::vector<std::pair<QRadioButton*, ConvertDirection>> m_directions;
};
