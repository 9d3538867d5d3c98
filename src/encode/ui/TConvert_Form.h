#pragma once
#include "platform/ui/CalvenorDialog.h"
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;
class ConvertJob;
class TLameCoder;

// Converts a WAV file to MP3 or an MP3 file to WAV, or every such file of a
// folder, beside the sources, with an encoder of its own.
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
    void ExploreClick();
    void RbButton1Click();
    void RbButton2Click();

    void done(int result) override;

private:
    void buildControls();
    void connectHandlers();
    QFrame* panel(const QRect& where);
    void setControlsEnabled(bool enabled);

    std::unique_ptr<TLameCoder> m_lameCoder;
    std::unique_ptr<ConvertJob> m_job;
    QFrame* m_pathPanel = nullptr;
    QFrame* m_directionPanel = nullptr;
};
