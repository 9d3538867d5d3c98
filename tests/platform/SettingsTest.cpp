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
