#include "rip/Playlist.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class PlaylistFile : public ::testing::Test {
protected:
    void write(const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString path = dir.filePath("PlayList.M3u");
};
} // namespace

TEST_F(PlaylistFile, TwoRunsIntoOneFolderKeepEachOthersLines)
{
    write("00 - Ancien.wav\r\n");
    Playlist first, second;
    first.Load(path);
    second.Load(path);
    first.Add("01 - Un.wav");
    second.Add("02 - Deux.wav");
    first.Save(path);
    second.Save(path);
    EXPECT_EQ(read(), "00 - Ancien.wav\r\n01 - Un.wav\r\n02 - Deux.wav\r\n");
}

TEST_F(PlaylistFile, An8BitPlaylistKeepsItsEncodingAndItsAccents)
{
    write("01 - Caf\xe9 \x80.wav\r\n");
    Playlist playlist;
    playlist.Load(path);
    EXPECT_EQ(playlist.Lines(), QStringList{QString::fromUtf8("01 - Café €.wav")});
    playlist.Add(QString::fromUtf8("02 - Noël “live”.wav"));
    playlist.Save(path);
    EXPECT_EQ(read(), "01 - Caf\xe9 \x80.wav\r\n02 - No\xebl \x93live\x94.wav\r\n");

    // A name the 8-bit set cannot hold turns the file to UTF-8: no letter is lost.
    playlist.Add(QString::fromUtf8("03 - 東京.wav"));
    playlist.Save(path);
    EXPECT_EQ(QString::fromUtf8(read()), QString::fromUtf8("01 - Café €.wav\r\n02 - Noël “live”.wav\r\n03 - 東京.wav\r\n"));
}

// A name too long is cut in the album's part: the disc's id and the ending stay.
TEST(PlaylistFileName, ALongAlbumIsCutBeforeTheDiscIdAndTheEnding)
{
    const QString name = Playlist::FileName("/m", QString(200, 'a'), QString(200, 'b'), "PlayList.M3u", "1A2B3C4D");
    EXPECT_TRUE(name.startsWith("/m/" + QString(200, 'a') + " - bbb")) << name.toStdString();
    EXPECT_TRUE(name.endsWith("b - 1A2B3C4D - PlayList.M3u")) << name.toStdString();
    EXPECT_EQ(name.mid(3).toUtf8().size(), 255);
}
