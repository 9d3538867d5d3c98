#include "app/HelpPage.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct Answer {
    int exitCode = -1;
    QString out;
    QString err;
};

// Without any display: a window, or even the toolkit's display connection, would fail.
Answer runWithoutDisplay(const QString& program, const QStringList& arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Answer answer;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return answer;
    answer.exitCode = process.exitCode();
    answer.out = QString::fromUtf8(process.readAllStandardOutput());
    answer.err = QString::fromUtf8(process.readAllStandardError());
    return answer;
}
} // namespace

TEST(ProgramInfo, BothProgramsAnswerHelpAndVersionInFrenchWithoutAWindow)
{
    const struct {
        QString program;
        QString name;
        QStringList sections; // in order, each followed by its first entry
    } programs[] = {
        {CALVENOR_EXE, "calvenor", {"Options :\n  -h", "Arguments :\n  lecteur  "}},
        {CALVENOR_RIP_EXE, "calvenor-rip",
         {"Commandes :\n  --list  ", "Fichiers de sortie :\n  --out FICHIER  ", "Formats :\n  --wav  ",
          "Lecture :\n  --drive X=CHEMIN  ", "Étiquettes :\n  --title TEXTE  ", "Recherche de l'album :\n  --server URL  ",
          "Vérification :\n  --accuraterip-server URL  ", "Aide :\n  -h, --help  ", "Arguments :\n  lecteur  ",
          "Exemples :\n  calvenor-rip --list\n      Liste"}},
    };
    for (const auto& p : programs) {
        SCOPED_TRACE(p.name.toStdString());
        const Answer help = runWithoutDisplay(p.program, {"--help"});
        EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
        EXPECT_TRUE(help.out.startsWith("Utilisation : " + p.name + " [options] ")) << help.out.toStdString();
        for (const char* text : {"  -h, --help  ", "Affiche la version et s'arrête.", "  --drive X=CHEMIN  "})
            EXPECT_TRUE(help.out.contains(text)) << text;
        qsizetype at = 0;
        for (const QString& section : p.sections) {
            at = help.out.indexOf("\n\n" + section, at);
            EXPECT_GE(at, 0) << section.toStdString();
        }
        // Lines fit a terminal of 80 columns.
        for (const QString& line : help.out.split('\n'))
            EXPECT_LE(line.size(), 79) << line.toStdString();
        EXPECT_FALSE(help.out.contains("Displays")) << help.out.toStdString();

        const Answer version = runWithoutDisplay(p.program, {"--version"});
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.out, p.name + " (Calvenor), version " CALVENOR_VERSION "\n");
        EXPECT_EQ(version.err, QString());
    }
}

TEST(ProgramInfo, HelpPageIsBesideTheProgramOrUnderShareOnceInstalled)
{
    QTemporaryDir prefix;
    const QString beside = prefix.filePath("build/Aide/Aide.htm");
    const QString installed = prefix.filePath("share/calvenor/Aide/Aide.htm");
    ASSERT_TRUE(QDir().mkpath(prefix.filePath("build/Aide")) && QDir().mkpath(prefix.filePath("share/calvenor/Aide")));
    ASSERT_TRUE(QDir().mkpath(prefix.filePath("bin")) && QDir().mkpath(prefix.filePath("tools")));
    ASSERT_TRUE(TestFiles::Write(beside, "<html/>") && TestFiles::Write(installed, "<html/>"));

    EXPECT_EQ(HelpPage::Path(prefix.filePath("build")), beside);
    EXPECT_EQ(HelpPage::Path(prefix.filePath("bin")), installed);
    // Missing: the message names where the page belongs.
    ASSERT_TRUE(QFile::remove(installed));
    EXPECT_EQ(HelpPage::Path(prefix.filePath("bin")), installed);
    EXPECT_EQ(HelpPage::Path(prefix.filePath("tools")), prefix.filePath("tools/Aide/Aide.htm"));
}
