#include "encode/TLameCoder.h"
#include "encode/ui/TConvert_Form.h"
#include <QRadioButton>
#include "platform/LameEncoderLibrary.h"
#include "encode/WavHeader.h"
#include "support/FakeDialogService.h"
#include "support/FakeShell.h"
#include "support/FlacTool.h"
#include "support/Mp3Frames.h"
#include "support/PcmCompare.h"
#include "support/TestFiles.h"
#include "tags/FileTagStore.h"
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

namespace {
class ConvertForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        services.dialogs = &dialogs;
        services.shell = &shell;
        services.encoder = &lame;
        services.tags = &tags;
        form = std::make_unique<TConvert_Form>(forms, services);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    void writeWav(const QString& name, int seconds)
    {
        const QByteArray pcm = PcmCompare::Tones(44100 * seconds, 44100, 2);
        write(name, WavHeader::Make(2, 44100, uint32_t(pcm.size())) + pcm);
    }
    void write(const QString& name, const QByteArray& bytes) { ASSERT_TRUE(TestFiles::Write(path(name), bytes)); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    void convert(const QString& chemin)
    {
        form->Chemin->setText(chemin);
        form->RbButton1->click();
    }

    QTemporaryDir dir;
    FakeDialogService dialogs;
    FakeShell shell;
    LameEncoderLibrary lame;
    FileTagStore tags;
    PlatformServices services;
    AppForms forms;
    std::unique_ptr<TConvert_Form> form;
};
} // namespace

TEST_F(ConvertForm, ShowsItsControlsAndTexts)
{
    EXPECT_EQ(forms.Convert_Form, form.get());
    EXPECT_EQ(form->windowTitle(), "Convertir WAV :: MP3");
    EXPECT_EQ(form->size(), QSize(369, 339));
    EXPECT_EQ(form->Label1->text(), "Convertisseur WAV :: MP3");
    EXPECT_EQ(form->ConvertFile->text(), "Convertir un fichier");
    EXPECT_EQ(form->ConvertDirectory->text(), "Convertir tous les fichiers du répertoire");
    EXPECT_EQ(form->Explore->toolTip(), "Explorer les dossiers");
    EXPECT_EQ(form->WAVtoMP3->text(), "WAV >> MP3");
    EXPECT_EQ(form->MP3toWAV->text(), "MP3 >> WAV");
    EXPECT_EQ(form->Label2->text(), "Avancement de la convertion :");
    EXPECT_EQ(form->RbButton1->text(), " Convertir");
    EXPECT_EQ(form->RbButton2->text(), " Fermer");
    EXPECT_TRUE(form->ConvertFile->isChecked());
    EXPECT_TRUE(form->WAVtoMP3->isChecked());
    EXPECT_TRUE(form->Chemin->text().isEmpty());
    EXPECT_EQ(form->RbProgressBar1->value(), 0);
    EXPECT_EQ(form->RbProgressBar1->maximum(), 100);
    EXPECT_TRUE(form->RbProgressBar1->isTextVisible());
    EXPECT_EQ(form->LameCoder1().DefaultExt(), ".mp3");
}

TEST_F(ConvertForm, ChangingAChoiceEmptiesThePathButClickingTheSelectedOneDoesNot)
{
    form->Chemin->setText("/a.wav");
    form->WAVtoMP3->click();
    EXPECT_EQ(form->Chemin->text(), "/a.wav");
    form->MP3toWAV->click();
    EXPECT_TRUE(form->Chemin->text().isEmpty());
    EXPECT_FALSE(form->WAVtoMP3->isChecked()) << "each pair is its own group";
    EXPECT_TRUE(form->ConvertFile->isChecked());

    form->Chemin->setText("/b/");
    form->ConvertDirectory->click();
    EXPECT_TRUE(form->Chemin->text().isEmpty());
    EXPECT_TRUE(form->MP3toWAV->isChecked());
    form->Chemin->setText("/b/");
    form->ConvertFile->click();
    EXPECT_TRUE(form->Chemin->text().isEmpty());
}

// Every kind shows, the ticked direction's first; a file of another kind turns the direction.
TEST_F(ConvertForm, ExploreShowsTheFileDialogInFileModeOnly)
{
    const struct {
        QRadioButton* ticked;
        QString chosen; // empty: cancelled
        QString filter;
        QRadioButton* after;
    } cases[] = {
        {form->WAVtoMP3, "x.wav",
         "Fichiers audio (*.wav *.mp3 *.flac);;Fichier WAV (*.wav);;Fichier MP3 (*.mp3);;Fichier FLAC (*.flac)",
         form->WAVtoMP3},
        {form->MP3toWAV, {},
         "Fichiers audio (*.mp3 *.wav *.flac);;Fichier MP3 (*.mp3);;Fichier WAV (*.wav);;Fichier FLAC (*.flac)",
         form->MP3toWAV},
        {form->WAVtoMP3, "x.mp3", {}, form->MP3toWAV},
        {form->WAVtoFLAC, "x.flac", {}, form->FLACtoWAV},
        {form->FLACtoMP3, "x.wav", {}, form->WAVtoMP3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        c.ticked->click();
        shell.choices = {c.chosen.isEmpty() ? QString() : path(c.chosen)};
        form->Explore->click();
        EXPECT_EQ(shell.fileTitles.last(), "Ouvrir un fichier à convertir");
        if (!c.filter.isEmpty()) {
            EXPECT_EQ(shell.fileFilters.last(), c.filter);
        }
        EXPECT_TRUE(c.after->isChecked());
        EXPECT_EQ(form->Chemin->text(), c.chosen.isEmpty() ? QString() : path(c.chosen));
    }
    EXPECT_TRUE(shell.browseTitles.isEmpty());
}

TEST_F(ConvertForm, ExploreShowsTheFolderBrowserInFolderModeOnly)
{
    form->ConvertDirectory->click();
    shell.choices = {dir.path()};
    form->Explore->click();
    EXPECT_EQ(shell.browseTitles, QStringList({"Dossier de destination"}));
    EXPECT_TRUE(shell.fileTitles.isEmpty());
    EXPECT_EQ(form->Chemin->text(), dir.path() + "/");

    form->Explore->click(); // cancelled
    EXPECT_EQ(form->Chemin->text(), dir.path() + "/");
    EXPECT_EQ(shell.browsePreselected.last(), dir.path() + "/") << "starts where the path points";
}

TEST_F(ConvertForm, ConvertsEveryWavOfAFolderBesideItsSource)
{
    writeWav("un.wav", 1);
    writeWav("deux.WAV", 1);
    write("notes.txt", "rien");
    form->ConvertDirectory->click();
    QList<int> seen;
    QObject::connect(form->RbProgressBar1, &QProgressBar::valueChanged, [&](int v) { seen << v; });
    convert(dir.path() + "/");
    EXPECT_EQ(files(), QStringList({"deux.WAV", "deux.mp3", "notes.txt", "un.mp3", "un.wav"}));
    EXPECT_EQ(dialogs.texts(), QStringList({"Conversion terminée : 2 fichier(s) converti(s)."}));
    EXPECT_EQ(dialogs.shown.first().kind, MsgKind::Information);
    EXPECT_EQ(form->RbProgressBar1->value(), 100);
    EXPECT_GT(seen.size(), 3) << "the bar moves during the work";
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    const auto decoded = PcmCompare::DecodeMp3(TestFiles::ReadAll(path("un.mp3")));
    EXPECT_EQ(decoded.channels, 2);
    EXPECT_GE(decoded.frames(), 44100);
    EXPECT_TRUE(form->RbButton1->isEnabled());
}

TEST_F(ConvertForm, Mp3ToWavRoundTripKeepsTheLength)
{
    writeWav("s.wav", 2);
    convert(path("s.wav"));
    ASSERT_TRUE(QFile::exists(path("s.mp3")));
    QFile::rename(path("s.wav"), path("source.wav"));
    form->MP3toWAV->click();
    convert(path("s.mp3"));
    const QByteArray back = TestFiles::ReadAll(path("s.wav"));
    ASSERT_GE(back.size(), 44);
    EXPECT_EQ(back.left(4), "RIFF");
    const int frames = (back.size() - 44) / 4;
    // Encoder delay in front, the last block's silence and the padding to
    // whole frames behind: the length grows by less than four frames.
    EXPECT_GE(frames, 2 * 44100);
    EXPECT_LE(frames, 2 * 44100 + 576 + 3 * 1152);
    EXPECT_EQ(dialogs.texts().size(), 2);
}

TEST_F(ConvertForm, FlacChoicesPickTheirFilesAndConvert)
{
    form->FLACtoWAV->click();
    form->Explore->click(); // cancelled
    EXPECT_EQ(shell.fileFilters.last().section(";;", 1, 1), "Fichier FLAC (*.flac)");
    EXPECT_FALSE(form->MP3toWAV->isChecked()) << "one choice of format at a time";

    writeWav("s.wav", 1);
    form->WAVtoFLAC->click();
    convert(path("s.wav"));
    const QByteArray wav = TestFiles::ReadAll(path("s.wav"));
    EXPECT_EQ(FlacTool::Decode(path("s.flac")).value_or(QByteArray()), wav.mid(WavHeader::Size));
    EXPECT_EQ(dialogs.texts(), QStringList({"Conversion terminée : 1 fichier(s) converti(s)."}));
}

TEST_F(ConvertForm, ExistingOutputIsReplacedOnlyAfterYes)
{
    writeWav("s.wav", 1);
    write("s.mp3", "ancien");
    const QString question =
        QStringLiteral("Le fichier \"%1\" existe déjà. Voulez-vous le remplacer ?").arg(path("s.mp3"));
    dialogs.script(MsgAnswer::No);
    convert(path("s.wav"));
    EXPECT_EQ(dialogs.texts(), QStringList({question}));
    EXPECT_EQ(dialogs.shown.first().kind, MsgKind::Confirmation);
    EXPECT_EQ(dialogs.shown.first().buttons, MsgButtons::YesNo);
    EXPECT_EQ(TestFiles::ReadAll(path("s.mp3")), "ancien");

    dialogs.shown.clear();
    dialogs.script(MsgAnswer::Yes);
    convert(path("s.wav"));
    EXPECT_EQ(dialogs.texts().first(), question);
    EXPECT_FALSE(Mp3Frames::Walk(TestFiles::ReadAll(path("s.mp3"))).isEmpty());
    EXPECT_EQ(files(), QStringList({"s.mp3", "s.wav"}));
}

TEST_F(ConvertForm, SourcesThatCannotBeConvertedAreToldAndLeaveNothing)
{
    write("faux.wav", "Ceci n'est pas un son.");
    convert(path("faux.wav"));
    EXPECT_EQ(form->RbProgressBar1->value(), 0) << "a refused file does not fill the bar";
    write("faux.mp3", QByteArray(5000, 'z'));
    form->MP3toWAV->click();
    convert(path("faux.mp3"));
    convert(QString());
    convert(path("absent.mp3"));
    form->ConvertDirectory->click();
    convert(path("absent") + "/");
    QDir(dir.path()).mkdir("vide");
    convert(path("vide"));
    EXPECT_EQ(dialogs.texts(),
              QStringList({QStringLiteral("Le fichier \"%1\" n'est pas un fichier WAV PCM de 8 à 24 bits.")
                               .arg(path("faux.wav")),
                           QStringLiteral("Le fichier \"%1\" n'est pas un fichier MP3 lisible.").arg(path("faux.mp3")),
                           "Choisissez d'abord le fichier à convertir.",
                           QStringLiteral("Le fichier \"%1\" n'existe pas.").arg(path("absent.mp3")),
                           QStringLiteral("Le dossier \"%1\" n'existe pas.").arg(path("absent") + "/"),
                           QStringLiteral("Le dossier \"%1\" ne contient aucun fichier MP3.").arg(path("vide"))}));
    for (const auto& shown : dialogs.shown)
        EXPECT_EQ(shown.kind, MsgKind::Error);
    EXPECT_EQ(files(), QStringList({"faux.mp3", "faux.wav"}));
}

TEST_F(ConvertForm, ClosingDuringAConversionStopsItAndKeepsNothing)
{
    writeWav("long.wav", 20);
    form->show();
    form->Chemin->setText(path("long.wav"));
    // The close arrives while the conversion lets the window breathe.
    QTimer::singleShot(0, form.get(), [this] { form->RbButton2->click(); });
    form->RbButton1->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->Converting());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(files(), QStringList({"long.wav"}));
}
