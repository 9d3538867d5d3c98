#include "platform/NameTemplate.h"
#include <gtest/gtest.h>

namespace {
class NameTemplateTest : public ::testing::Test {
protected:
    NameTemplateTest()
    {
        track.albumArtist = "Divers";
        track.artist = "Nina Simone";
        track.album = "Jazz";
        track.year = "1958";
        track.genre = "Blues";
        track.title = "Love Me or Leave Me";
        track.label = "Piste 03";
        track.number = 3;
        track.disc = 2;
    }
    QString apply(const QString& text, const NameTemplate::Values& values) const
    {
        const NameTemplate names(text);
        EXPECT_EQ(names.Error(), "") << text.toStdString();
        return names.Apply("/m", values, ".mp3");
    }
    NameTemplate::Values track;
};
} // namespace

TEST_F(NameTemplateTest, EveryFieldAndFolders)
{
    const struct {
        const char *text, *path;
    } cases[] = {
        {"%n - %d - %a - %t", "/m/03 - Jazz - Nina Simone - Love Me or Leave Me.mp3"},
        {"%A/%d (%y)/%N-%n %t", "/m/Divers/Jazz (1958)/2-03 Love Me or Leave Me.mp3"},
        {"%g/%a/%n 100%% %t", "/m/Blues/Nina Simone/03 100% Love Me or Leave Me.mp3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(apply(c.text, track), QString::fromUtf8(c.path)) << c.text;
}

// An empty value takes its separators along; a folder is never nameless.
TEST_F(NameTemplateTest, EmptyFieldsLeaveNoStraySeparators)
{
    NameTemplate::Values sparse = track;
    sparse.album = sparse.artist = sparse.year = sparse.albumArtist = "";
    sparse.disc = 0;
    const struct {
        const char *text, *path;
    } cases[] = {
        {"%n - %d - %a - %t", "/m/03 - Love Me or Leave Me.mp3"},
        {"%t - %a - %d", "/m/Love Me or Leave Me.mp3"},
        {"%t (%y)", "/m/Love Me or Leave Me.mp3"},
        {"[%y] %t", "/m/Love Me or Leave Me.mp3"},
        {"%N-%n %t", "/m/03 Love Me or Leave Me.mp3"},
        {"%A/%d - %y/%n", "/m/Inconnu/Inconnu/03.mp3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(apply(c.text, sparse), QString::fromUtf8(c.path)) << c.text;
}

TEST_F(NameTemplateTest, HostileValuesStayInTheirOwnComponent)
{
    const QString longTitle(300, 'x');
    const struct {
        const char* artist;
        QString title;
        const char* path;
    } cases[] = {
        {"../", "..", "/m/Inconnu/Inconnu/03.mp3"},
        {"AC/DC", ".", "/m/ACDC/Inconnu/03.mp3"},
        {"/", "a\x01\x1b[2Jb\x7f", "/m/Inconnu/a[2Jb/03.mp3"},
        {"..", "", "/m/Inconnu/Piste 03/03.mp3"},
    };
    for (const auto& c : cases) {
        NameTemplate::Values hostile = track;
        hostile.artist = c.artist;
        hostile.title = c.title;
        EXPECT_EQ(apply("%a/%t/%n", hostile), QString::fromUtf8(c.path)) << c.path;
    }
    NameTemplate::Values hostile = track;
    hostile.title = longTitle;
    const QString path = apply("%a/%t", hostile);
    const QString file = path.mid(path.lastIndexOf('/') + 1);
    EXPECT_EQ(file.toUtf8().size(), 255);
    EXPECT_TRUE(file.endsWith("xx.mp3")) << file.toStdString();
}

TEST_F(NameTemplateTest, BadTemplatesAreRefusedInFrench)
{
    const struct {
        const char *text, *error;
    } cases[] = {
        {"%n - %x", "Le modèle de nom de fichier contient « %x », qui n'est pas un champ connu. Champs possibles : "
                    "%A, %a, %d, %y, %g, %n, %N, %t et %%."},
        {"", "Le modèle de nom de fichier est vide : indiquez au moins %n ou %t."},
        {"%a/%d/", "Le modèle de nom de fichier ne peut pas finir par « / » : il doit finir par le nom du fichier."},
        {"%A/%d - %y", "Le modèle de nom de fichier doit contenir %n, %t ou %a : sans eux, toutes les pistes "
                       "porteraient le même nom."},
        {"%A//%t", "Le modèle de nom de fichier contient un dossier sans nom : retirez le « / » en trop."},
        {"%t %", "Le modèle de nom de fichier finit par un « % » seul : écrivez %% pour un signe pour cent."},
        {"%n: %t", "Le modèle de nom de fichier contient « : », un caractère interdit dans les noms de fichier : "
                   "enlevez les caractères \\ : * ? \" < > |."},
        {"../%t", "Un dossier du modèle de nom de fichier ne peut pas être « . » ou « .. » : un dossier de ce nom "
                  "désignerait le dossier lui-même ou le dossier parent. Veuillez donner un autre nom."},
    };
    for (const auto& c : cases) {
        const NameTemplate names(QString::fromUtf8(c.text));
        EXPECT_EQ(names.Error(), QString::fromUtf8(c.error)) << c.text;
        // Refused, it names as the default does.
        EXPECT_EQ(names.Apply("/m", track, ".mp3"), apply(NameTemplate::DefaultText, track)) << c.text;
        EXPECT_EQ(NameTemplate::PreviewText(QString::fromUtf8(c.text), track, ".mp3"), QString::fromUtf8(c.error));
    }
}

TEST_F(NameTemplateTest, PreviewShowsThePathBelowTheDestination)
{
    EXPECT_EQ(NameTemplate::PreviewText("%A/%d/%n - %t", NameTemplate::SampleValues(), ".flac"),
              "Aperçu : Les Musiciens/Premier album/01 - Première chanson.flac");
    EXPECT_EQ(NameTemplate::PreviewText(NameTemplate::DefaultText, track, ".mp3"),
              "Aperçu : 03 - Jazz - Nina Simone - Love Me or Leave Me.mp3");
}
