#include "TagFiles.h"
#include "rip/TrackTagging.h"
#include "support/DiscImage.h"
#include "support/Mutagen.h"
#include "support/RipTool.h"
#include "tags/GenreTable.h"
#include "tags/TMP3Info.h"
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {
// An ID3 reader that is not ours: the system's Python with mutagen.
const char* ReaderScript = R"(
import json, sys
from mutagen.id3 import ID3
from mutagen.mp3 import MP3
tags = ID3(sys.argv[1])
try:
    info = MP3(sys.argv[1]).info
    encoder, length = info.encoder_info, info.length
except Exception:
    encoder, length = '', 0
def text(key):
    frame = tags.get(key)
    return str(frame.text[0]) if frame else ''
comments = tags.getall('COMM')
print(json.dumps({'version': list(tags.version), 'title': text('TIT2'), 'artist': text('TPE1'),
                  'album': text('TALB'), 'year': text('TDRC'),
                  'comment': str(comments[0].text[0]) if comments else '',
                  'genre': tags['TCON'].genres[0] if 'TCON' in tags else '',
                  'track': text('TRCK'), 'encoder': encoder, 'length': length}))
)";

QJsonObject readWithMutagen(const QString& path)
{
    return Mutagen::Run(ReaderScript, path);
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

// Both tags of a ripped MP3: ID3v2.4 in full at the start, the encoder's Info
// frame still found right after it, and an ID3v1.1 trailer with the track.
TEST(TMP3InfoReadBack, RipRunWritesBothTagsThatOtherPlayersRead)
{
    TagFiles files;
    const QString cue = DiscImage().AddAudioTrack(DiscImage::SinePcm(75 * 2, 440)).WriteTo(files.Path(""));
    const QString source = files.Path("source.wav");
    const RipTool rip = RipTool::Run({"--drive", "x=" + cue, "x:", "--track", "1", "--out", source});
    ASSERT_EQ(rip.exitCode, 0) << rip.err.toStdString();
    // The LAME front end writes the Info frame that decoders must still find.
    const QString mp3 = files.Path("track.mp3");
    ASSERT_EQ(QProcess::execute("lame", {"--quiet", "-b", "128", source, mp3}), 0);
    const QString wav = files.Write("track.wav", TagFiles::Body(4000));

    const QString title = QStringLiteral("L’été œcuménique, une chanson au titre bien trop long pour ID3v1");
    for (const QString& path : {mp3, wav}) {
        AlbumTrack row;
        row.number = 7;
        row.setValue(AlbumTrack::Target, path);
        row.setValue(AlbumTrack::Title, title);
        row.setValue(AlbumTrack::Artist, QStringLiteral("Cœur de pirate"));
        row.setValue(AlbumTrack::Genre, QStringLiteral("chanson"));
        row.setValue(AlbumTrack::Comment, QStringLiteral("court"));
        TMP3Info info;
        TrackTagging::Write(info, row);
        const QByteArray trailer = TagFiles::ReadAll(path).right(TMP3Info::TagSize);
        EXPECT_TRUE(trailer.startsWith("TAG"));
        EXPECT_EQ(trailer.at(125), '\0');
        EXPECT_EQ(trailer.at(126), 7);
        EXPECT_EQ(uint8_t(trailer.at(127)), 102);
    }

    const QJsonObject v2 = readWithMutagen(mp3);
    ASSERT_FALSE(v2.contains("failure")) << v2.value("failure").toString().toStdString();
    EXPECT_EQ(v2.value("version").toArray().at(1).toInt(), 4);
    EXPECT_EQ(v2.value("title").toString(), title);
    EXPECT_EQ(v2.value("artist").toString(), QStringLiteral("Cœur de pirate"));
    EXPECT_EQ(v2.value("track").toString(), "7");
    EXPECT_EQ(v2.value("genre").toString(), "Chanson");
    EXPECT_TRUE(v2.value("encoder").toString().startsWith("LAME")) << v2.value("encoder").toString().toStdString();
    EXPECT_NEAR(v2.value("length").toDouble(), 2.0, 0.1);

    const QJsonObject v1 = readWithMutagen(wav);
    EXPECT_EQ(v1.value("version").toArray().at(0).toInt(), 1);
    EXPECT_EQ(v1.value("title").toString(), QStringLiteral("L?été ?cuménique, une chanson")); // 30 Latin-1 bytes
    EXPECT_EQ(v1.value("track").toString(), "7");
    EXPECT_EQ(v1.value("genre").toString(), "Chanson");
}
