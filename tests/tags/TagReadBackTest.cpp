#include "TagFiles.h"
#include "tags/GenreTable.h"
#include "tags/TMP3Info.h"
#include <QFile>
#include <QJsonDocument>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {
// An ID3 reader that is not ours: the system's Python with mutagen.
const char* ReaderScript = R"(
import json, sys
from mutagen.id3 import ID3
tags = ID3(sys.argv[1])
def text(key):
    frame = tags.get(key)
    return str(frame.text[0]) if frame else ''
comments = tags.getall('COMM')
print(json.dumps({'version': list(tags.version), 'title': text('TIT2'), 'artist': text('TPE1'),
                  'album': text('TALB'), 'year': text('TDRC'),
                  'comment': str(comments[0].text[0]) if comments else '',
                  'genre': tags['TCON'].genres[0] if 'TCON' in tags else ''}))
)";

QString python()
{
    return QFile::exists("/usr/bin/python3") ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3");
}

QJsonObject readWithMutagen(const QString& path)
{
    QProcess reader;
    reader.start(python(), {"-c", ReaderScript, path});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0)
        return {{"failure", QString::fromUtf8(reader.readAllStandardError())}};
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}
} // namespace

TEST(TMP3InfoReadBack, AnIndependentReaderSeesWhatWasWrittenAccentsIncluded)
{
    TagFiles files;
    const QString path = files.Write("accents.mp3", TagFiles::Body(4000));
    TMP3Info info;
    info.SetFilename(path);
    info.SetTitle(QStringLiteral("Ça déménage à Noël"));
    info.SetArtist(QStringLiteral("Zoé & les Îles"));
    info.SetAlbum(QStringLiteral("Été: 30 caractères exactement!"));
    info.SetYear("2003");
    info.SetComment(QStringLiteral("ñ ü ß Ø æ"));
    info.SetGenreID(GenreTable::IdOfName("classical"));
    info.Save();
    ASSERT_TRUE(info.Saved());

    const QJsonObject tag = readWithMutagen(path);
    ASSERT_FALSE(tag.contains("failure")) << tag.value("failure").toString().toStdString();
    EXPECT_EQ(tag.value("version").toArray().at(0).toInt(), 1);
    EXPECT_EQ(tag.value("title").toString(), info.Title());
    EXPECT_EQ(tag.value("artist").toString(), info.Artist());
    EXPECT_EQ(tag.value("album").toString(), info.Album());
    EXPECT_EQ(tag.value("year").toString(), "2003");
    EXPECT_EQ(tag.value("comment").toString(), info.Comment());
    EXPECT_EQ(tag.value("genre").toString(), "Classical");
}

TEST(TMP3InfoReadBack, CharactersOutsideLatin1AreWrittenAsQuestionMarks)
{
    TagFiles files;
    const QString path = files.Write("euro.mp3", TagFiles::Body(1000));
    TMP3Info info;
    info.SetFilename(path);
    info.SetTitle(QStringLiteral("5 € ") + QString::fromUcs4(U"\U0001F3B5") + QStringLiteral(" Œ"));
    info.SetGenreID(GenreTable::IdOfName("Jazz"));
    info.Save();
    ASSERT_TRUE(info.Saved());
    EXPECT_EQ(readWithMutagen(path).value("title").toString(), "5 ? ? ?");
    EXPECT_EQ(readWithMutagen(path).value("genre").toString(), "Jazz");
    TMP3Info reader;
    reader.SetFilename(path);
    EXPECT_EQ(reader.Title(), "5 ? ? ?");
}
