#include "platform/Settings.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Settings, ValuesLastAcrossInstancesAndBadOnesFallBackToDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Calvenor.conf");
    {
        Settings fresh(path);
        EXPECT_EQ(fresh.Email(), QString());
        EXPECT_FALSE(fresh.MusicBrainzFirst());
        EXPECT_EQ(fresh.ReadOffset(), 0);
        fresh.SetEmail("  jean.dupont@exemple.fr ");
        fresh.SetCddbServer("http://127.0.0.1:8080/~cddb");
        fresh.SetMusicBrainzFirst(true);
        fresh.SetReadOffset(-667);
        EXPECT_TRUE(fresh.Saved());
    }
    Settings again(path);
    EXPECT_EQ(again.Email(), "jean.dupont@exemple.fr");
    EXPECT_EQ(again.CddbServer(), "http://127.0.0.1:8080/~cddb");
    EXPECT_TRUE(again.MusicBrainzFirst());
    EXPECT_EQ(again.ReadOffset(), -667);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[rip]\nreadOffset=beaucoup\n");
    file.close();
    EXPECT_EQ(Settings(path).ReadOffset(), 0);
}

TEST(Settings, TheEnvironmentCanNameAnotherFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("autre.conf");
    qputenv("CALVENOR_SETTINGS", path.toUtf8());
    Settings().SetEmail("a@b.fr");
    qunsetenv("CALVENOR_SETTINGS");
    EXPECT_EQ(Settings(path).Email(), "a@b.fr");
}

// Names with the characters QSettings gives a meaning to stay one key each;
// a model never saved reads the offset saved before models were told apart.
TEST(Settings, TheReadOffsetIsKeptPerModelAndAnUnsavedModelFallsBackToTheOldKey)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Calvenor.conf");
    {
        Settings s(path);
        s.SetReadOffset(6);
        s.SetReadOffset("PLEXTOR DVDR PX-716A", 30);
        s.SetReadOffset("A/B\\C=D;[é] %2F", -12);
    }
    const struct {
        QString model;
        int offset;
        bool saved;
    } cases[] = {
        {"PLEXTOR DVDR PX-716A", 30, true}, {"A/B\\C=D;[é] %2F", -12, true}, {"A", 6, false},
        {"A/B", 6, false},                  {"PLEXTOR DVDR", 6, false},        {"", 6, true},
    };
    const Settings again(path);
    for (const auto& c : cases) {
        EXPECT_EQ(again.ReadOffset(c.model), c.offset) << c.model.toStdString();
        EXPECT_EQ(again.SavedReadOffset(c.model).has_value(), c.saved) << c.model.toStdString();
    }
    EXPECT_EQ(again.ReadOffset(), 6);
}
