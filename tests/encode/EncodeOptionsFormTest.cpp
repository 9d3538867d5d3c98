#include "encode/TLameCoder.h"
#include "encode/ui/TConvert_Form.h"
#include "encode/ui/TEncode_Options_Form.h"
#include "platform/CalvenorError.h"
#include "platform/Settings.h"
#include "support/MainFormFixture.h"
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QThread>
#include <QTimer>

namespace {
QStringList items(const QComboBox* c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

// A pick made by the user: the list changes, then tells its handler.
void pick(QComboBox* c, const QString& text)
{
    const int i = c->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    c->setCurrentIndex(i);
    emit c->activated(i);
}

class EncodeOptions : public MainFormFixture {
protected:
    void SetUp() override
    {
        MainFormFixture::SetUp();
        open();
        options = std::make_unique<TEncode_Options_Form>(forms, services, form->LameCoder1());
    }
    TLameCoder& coder() { return form->LameCoder1(); }
    // What the window shows, as encoder settings.
    void expectShowsTheDefaults()
    {
        EXPECT_EQ(options->SelectSampleRate->currentText(), "44100");
        EXPECT_EQ(options->SelectBitRate->currentText(), "128");
        EXPECT_EQ(options->SelectMaxBitRate->currentText(), "320");
        EXPECT_EQ(options->SelectMode->currentText(), "Stereo");
        EXPECT_EQ(options->SelectQuality->currentText(), "Normal");
        EXPECT_FALSE(options->VBRCheck->isChecked());
        EXPECT_FALSE(options->WriteVBRHeaderCheck->isChecked());
        EXPECT_EQ(options->TrackBar1->value(), 4);
        EXPECT_EQ(options->Label7->text(), "4");
        EXPECT_FALSE(options->CopyrightCheck->isChecked());
        EXPECT_FALSE(options->OriginalCheck->isChecked());
        EXPECT_TRUE(options->CRCCheck->isChecked());
        EXPECT_FALSE(options->PrivateCheck->isChecked());
    }

    std::unique_ptr<TEncode_Options_Form> options;
};
} // namespace

TEST_F(EncodeOptions, ShowsEveryControlWithTheEncodersDefaults)
{
    EXPECT_EQ(forms.Encode_Options_Form, options.get());
    EXPECT_EQ(options->windowTitle(), "Options d'encodage");
    EXPECT_EQ(options->size(), QSize(251, 483));
    EXPECT_EQ(options->PassesLabel->buddy(), options->PassesEdit) << "the reads' box has its caption";
    EXPECT_EQ(options->Label5->text(), "Options d'encodage :");
    EXPECT_TRUE(options->Label5->font().bold());
    EXPECT_EQ(options->Label1->text(), "Sample \nRate");
    EXPECT_EQ(options->Label2->text(), "BitRate");
    EXPECT_EQ(options->Label4->text(), "Max\nBitRate");
    EXPECT_EQ(options->Label8->text(), "Mode");
    EXPECT_EQ(options->Label10->text(), "Qualité");
    EXPECT_EQ(options->Label3->text(), "VBR Quality");
    EXPECT_EQ(items(options->SelectSampleRate), QStringList({"44100", "32000", "22050"}));
    EXPECT_EQ(items(options->SelectBitRate), QStringList({"320", "256", "192", "160", "128", "96"}));
    EXPECT_EQ(items(options->SelectMaxBitRate), QStringList({"320", "256", "192", "160"}));
    EXPECT_EQ(items(options->SelectMode), QStringList({"Stereo", "Joint stereo", "Dual channel", "Mono"}));
    EXPECT_EQ(items(options->SelectQuality), QStringList({"Normal", "Low", "High", "Voice"}));
    for (QComboBox* c : {options->SelectSampleRate, options->SelectBitRate, options->SelectMaxBitRate,
                         options->SelectMode, options->SelectQuality})
        EXPECT_FALSE(c->isEditable());
    EXPECT_EQ(options->VBRCheck->text(), "VBR");
    EXPECT_EQ(options->WriteVBRHeaderCheck->text(), "Write VBR header");
    EXPECT_EQ(options->CopyrightCheck->text(), "Copyright");
    EXPECT_EQ(options->OriginalCheck->text(), "Original");
    EXPECT_EQ(options->CRCCheck->text(), "CRC");
    EXPECT_EQ(options->PrivateCheck->text(), "Private");
    EXPECT_EQ(options->RestoreButton->text(), "Par défaut");
    EXPECT_EQ(options->CloseButton->text(), "Fermer");
    EXPECT_EQ(options->TrackBar1->minimum(), 0);
    EXPECT_EQ(options->TrackBar1->maximum(), 9);
    EXPECT_EQ(options->TrackBar1->tickPosition(), QSlider::TicksAbove);
    expectShowsTheDefaults();
    TLameCoder fresh(encoder);
    EXPECT_EQ(coder().ConfigRecord(), fresh.ConfigRecord());
}

TEST_F(EncodeOptions, EachPickGoesIntoTheEncoderAtOnce)
{
    pick(options->SelectSampleRate, "22050");
    EXPECT_EQ(coder().SampleRate(), 22050u);
    pick(options->SelectBitRate, "96");
    EXPECT_EQ(coder().Bitrate(), 96u);
    pick(options->SelectMaxBitRate, "160");
    EXPECT_EQ(coder().MaxBitrate(), 160u);
    pick(options->SelectBitRate, "256");
    EXPECT_EQ(coder().MaxBitrate(), 160u) << "no cross-check";
    pick(options->SelectMode, "Dual channel");
    EXPECT_EQ(coder().Mode(), DUALCHANNEL);
    pick(options->SelectMode, "Mono");
    EXPECT_EQ(coder().Mode(), MONO);
    pick(options->SelectQuality, "Voice");
    EXPECT_EQ(coder().Quality(), VOICE_QUALITY);
    pick(options->SelectQuality, "High");
    EXPECT_EQ(coder().Quality(), HIGH_QUALITY);
    options->TrackBar1->setValue(9);
    EXPECT_EQ(options->Label7->text(), "9");
    EXPECT_EQ(coder().VBRQuality(), 9);
}

TEST_F(EncodeOptions, TickBoxesWriteTrueAsAllBitsSet)
{
    options->CRCCheck->click();
    EXPECT_EQ(coder().CRC(), LAME_FALSE);
    options->CopyrightCheck->click();
    options->OriginalCheck->click();
    options->PrivateCheck->click();
    EXPECT_EQ(coder().Copyright(), LAME_TRUE);
    EXPECT_EQ(coder().Original(), LAME_TRUE);
    EXPECT_EQ(coder().Private(), LAME_TRUE);
    options->WriteVBRHeaderCheck->click();
    EXPECT_EQ(coder().WriteVBRHeader(), LAME_TRUE);
    EXPECT_EQ(coder().EnableVBR(), LAME_FALSE);
}

TEST_F(EncodeOptions, VbrCarriesTheHeaderAndTheWindowShowsIt)
{
    options->VBRCheck->click();
    EXPECT_EQ(coder().EnableVBR(), LAME_TRUE);
    EXPECT_EQ(coder().WriteVBRHeader(), LAME_TRUE);
    EXPECT_TRUE(options->WriteVBRHeaderCheck->isChecked());

    options->VBRCheck->click();
    EXPECT_EQ(coder().EnableVBR(), LAME_FALSE);
    EXPECT_EQ(coder().WriteVBRHeader(), LAME_FALSE) << "off even though the header box was ticked";
    EXPECT_FALSE(options->WriteVBRHeaderCheck->isChecked());
}

TEST_F(EncodeOptions, ParDefautRestoresTheWindowAndTheEncoder)
{
    pick(options->SelectSampleRate, "32000");
    pick(options->SelectBitRate, "320");
    pick(options->SelectMaxBitRate, "192");
    pick(options->SelectMode, "Joint stereo");
    pick(options->SelectQuality, "Low");
    options->TrackBar1->setValue(0);
    options->VBRCheck->click();
    options->CopyrightCheck->click();
    options->OriginalCheck->click();
    options->CRCCheck->click();
    options->PrivateCheck->click();

    options->RestoreButton->click();
    expectShowsTheDefaults();
    TLameCoder fresh(encoder);
    EXPECT_EQ(coder().ConfigRecord(), fresh.ConfigRecord());
}

TEST_F(EncodeOptions, MainWindowShowsTheOptionsAndTheConverterModally)
{
    TConvert_Form converter(forms, services);
    QStringList shown;
    auto closeWhenShown = [&](QDialog* window) {
        QTimer::singleShot(0, window, [&shown, window] {
            // Close first: a check that fails must not leave the window open.
            const bool modal = window->isVisible() && window->isModal();
            window->close();
            shown << (window->windowTitle() + (modal ? " modal" : ""));
        });
    };
    closeWhenShown(options.get());
    form->Button1->click();
    closeWhenShown(&converter);
    form->Action1->trigger();
    EXPECT_EQ(shown, QStringList({"Options d'encodage modal", "Convertir WAV :: MP3 modal"}));
}

TEST_F(EncodeOptions, TheReadOffsetLastsBetweenRunsAndSurvivesTheDefaults)
{
    options->ReadOffsetEdit->setValue(-48);
    EXPECT_EQ(Settings(settings.FileName()).ReadOffset(), -48);
    options->RestoreButton->click();
    EXPECT_EQ(options->ReadOffsetEdit->value(), -48);
    TEncode_Options_Form again(forms, services, form->LameCoder1());
    EXPECT_EQ(again.ReadOffsetEdit->value(), -48);
    options->ReadOffsetEdit->setValue(0);
}

// "Détecter" runs the search it is given off the window's thread: an offset
// found is shown and kept for the drive's model, nothing found or an error
// leaves the box and the settings as they were.
TEST_F(EncodeOptions, DetecterShowsAndKeepsTheOffsetFoundForTheDrivesModel)
{
    settings.SetReadOffset(30);
    drives.models['d'] = {"PLEXTOR", "DVDR PX-716A", "1.11"};
    const DriveIdentity drive = DriveIdentity::Of(drives, 'd');
    options->SetDrive(drive, nullptr);
    EXPECT_FALSE(options->DetectButton->isEnabled()) << "no disc to search with";
    EXPECT_EQ(options->ReadOffsetEdit->value(), 30) << "the model has none of its own yet";
    using Found = std::optional<TEncode_Options_Form::FoundOffset>;
    bool offThread = false;
    const QString unknown = "La base AccurateRip ne connaît pas ce disque : le décalage de lecture ne peut pas y être "
                            "cherché ; rien n'est changé.";
    const struct {
        TEncode_Options_Form::OffsetDetection detect;
        MsgKind kind;
        QString text;
    } cases[] = {
        {[&] {
             offThread = QThread::currentThread() != options->thread();
             return Found({30, 12});
         },
         MsgKind::Information, "Décalage de lecture trouvé : +30 échantillons (confiance 12)."},
        {[] { return Found(); }, MsgKind::Information,
         "Aucun décalage de lecture ne correspond à la base AccurateRip ; rien n'est changé."},
        {[&]() -> Found { throw CalvenorError(unknown); }, MsgKind::Error, unknown},
    };
    for (const auto& c : cases) {
        dialogs.shown.clear();
        options->SetDrive(drive, c.detect);
        options->DetectButton->click();
        EXPECT_EQ(options->ReadOffsetEdit->value(), 30);
        EXPECT_EQ(Settings(settings.FileName()).SavedReadOffset("PLEXTOR DVDR PX-716A"), 30)
            << "found as the box showed it, and kept for the model";
        ASSERT_EQ(dialogs.texts(), QStringList({c.text}));
        EXPECT_EQ(dialogs.shown.first().kind, c.kind);
        EXPECT_TRUE(options->DetectButton->isEnabled());
    }
    EXPECT_TRUE(offThread);
}

// The FLAC level lasts between runs; "Par défaut" brings back level 5.
TEST_F(EncodeOptions, TheFlacLevelLastsBetweenRunsAndTheDefaultsBringBackFive)
{
    EXPECT_EQ(options->FlacLevelEdit->value(), 5);
    EXPECT_EQ(options->FlacLevelEdit->maximum(), 8);
    options->FlacLevelEdit->setValue(8);
    EXPECT_EQ(Settings(settings.FileName()).FlacLevel(), 8);
    TEncode_Options_Form again(forms, services, form->LameCoder1());
    EXPECT_EQ(again.FlacLevelEdit->value(), 8);
    options->RestoreButton->click();
    EXPECT_EQ(Settings(settings.FileName()).FlacLevel(), 5);
}

// "Vérifier" stores the most reads of a track, 1 when it is off; "Par
// défaut" turns it off.
TEST_F(EncodeOptions, VerifyStoresTheMostReadsAndTheDefaultsTurnItOff)
{
    const auto stored = [this] { return Settings(settings.FileName()).Passes(); };
    EXPECT_FALSE(options->VerifyCheck->isChecked());
    EXPECT_FALSE(options->PassesEdit->isEnabled());
    options->VerifyCheck->click();
    EXPECT_EQ(stored(), 5);
    options->PassesEdit->setValue(options->PassesEdit->maximum());
    EXPECT_EQ(stored(), 16);
    TEncode_Options_Form again(forms, services, form->LameCoder1());
    EXPECT_TRUE(again.VerifyCheck->isChecked());
    EXPECT_EQ(again.PassesEdit->value(), 16);
    options->VerifyCheck->click();
    EXPECT_EQ(stored(), 1);
    options->VerifyCheck->click();
    options->RestoreButton->click();
    EXPECT_FALSE(options->VerifyCheck->isChecked());
    EXPECT_EQ(stored(), 1);
}
