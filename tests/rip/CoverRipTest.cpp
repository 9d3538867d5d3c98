#include "platform/Settings.h"
#include "rip/RipCover.h"
#include "support/DiscImage.h"
#include "support/RipTool.h"
#include "tags/TMP3Info.h"
#include "tags/TrackTags.h"
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString Covers = QStringLiteral(CALVENOR_SOURCE_DIR "/tests/cddb/records/coverart/");

// A reader that is not ours: mutagen lists the pictures of an MP3 (APIC
// frames) or a FLAC file (PICTURE blocks).
const char* PictureScript = R"(
import base64, json, sys
from mutagen import File
f = File(sys.argv[1])
pictures = f.pictures if hasattr(f, 'pictures') else f.tags.getall('APIC')
print(json.dumps([{'type': int(p.type), 'mime': p.mime, 'data': base64.b64encode(p.data).decode()}
                  for p in pictures]))
)";

QJsonArray picturesOf(const QString& path)
{
    QProcess reader;
    // The system's Python, which has mutagen.
    reader.start(QFile::exists("/usr/bin/python3") ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3"),
                 {"-c", PictureScript, path});
    reader.waitForFinished(60000);
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).array();
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Two tracks of a disc image ripped with --cover, as the settings say.
class CoverRip : public ::testing::Test {
protected:
    void SetUp() override
    {
        cue = DiscImage().AddAudioTrack(DiscImage::SinePcm(75, 440)).AddAudioTrack(DiscImage::SinePcm(75, 660))
                  .WriteTo(dir.path());
    }
    void TearDown() override { Settings(RipTool::SettingsFile()).SetCover(Settings::CoverUse::Both); }

    RipTool rip(Settings::CoverUse use, const QString& format, const QString& cover)
    {
        Settings(RipTool::SettingsFile()).SetCover(use);
        return RipTool::Run({"--drive", "x=" + cue, "x:", "--tracks", "1,2", "--dir", out(), format, "--cover",
                             Covers + cover, "--artist", "A", "--album", "B", "--overwrite"});
    }
    QString out() const { return dir.filePath("out"); }
    QStringList files(const QString& pattern) const
    {
        QStringList found;
        for (const QString& name : QDir(out()).entryList({pattern}, QDir::Files))
            found << QDir(out()).filePath(name);
        return found;
    }

    QTemporaryDir dir;
    QString cue;
};
} // namespace

TEST_F(CoverRip, EachSettingEmbedsOrSavesTheCoverAsItSays)
{
    struct Case {
        Settings::CoverUse use;
        bool embedded;
        bool saved;
    };
    const Case cases[] = {
        {Settings::CoverUse::Embed, true, false},
        {Settings::CoverUse::SaveFile, false, true},
        {Settings::CoverUse::Both, true, true},
        {Settings::CoverUse::None, false, false},
    };
    EXPECT_EQ(Settings(dir.filePath("fresh.conf")).Cover(), Settings::CoverUse::Both) << "the default";
    const QByteArray jpeg = bytesOf(Covers + "front-jpeg.jpg");
    for (const Case& c : cases) {
        QDir(out()).removeRecursively();
        const RipTool run = rip(c.use, "--mp3", "front-jpeg.jpg");
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QStringList tracks = files("*.mp3");
        ASSERT_EQ(tracks.size(), 2);
        for (const QString& track : tracks) {
            const QJsonArray pictures = picturesOf(track);
            ASSERT_EQ(pictures.size(), c.embedded ? 1 : 0) << track.toStdString();
            if (c.embedded) {
                EXPECT_EQ(pictures.at(0)["type"].toInt(), 3);
                EXPECT_EQ(pictures.at(0)["mime"].toString(), "image/jpeg");
                EXPECT_EQ(QByteArray::fromBase64(pictures.at(0)["data"].toString().toLatin1()), jpeg);
                TMP3Info id3v1;
                TagFields read;
                ASSERT_TRUE(TrackTags::Read(id3v1, track, read));
                EXPECT_EQ(read.frontCover, jpeg);
            }
        }
        EXPECT_EQ(files("cover.*"), c.saved ? QStringList{out() + "/cover.jpg"} : QStringList());
        if (c.saved) {
            EXPECT_EQ(bytesOf(out() + "/cover.jpg"), jpeg);
        }
        const QByteArray origin = c.embedded || c.saved ? "fichier choisi" : "aucune";
        EXPECT_TRUE(bytesOf(files("*Rapport.log").value(0)).contains("Pochette : " + origin + '\n'));
    }
}

// A FLAC rip gets a PICTURE block and cover.png, the PNG's own bytes; a run
// again over the same album leaves its one cover file as it is.
TEST_F(CoverRip, AFlacRipCarriesAPictureBlockAndReadsItBack)
{
    const QByteArray png = bytesOf(Covers + "front-png.png");
    for (int run = 1; run <= 2; ++run) {
        const RipTool ripped = rip(Settings::CoverUse::Both, "--flac", "front-png.png");
        ASSERT_EQ(ripped.exitCode, 0) << ripped.err.toStdString();
    }
    const QStringList tracks = files("*.flac");
    ASSERT_EQ(tracks.size(), 2);
    const QJsonArray pictures = picturesOf(tracks.first());
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_EQ(pictures.at(0)["type"].toInt(), 3);
    EXPECT_EQ(pictures.at(0)["mime"].toString(), "image/png");
    EXPECT_EQ(QByteArray::fromBase64(pictures.at(0)["data"].toString().toLatin1()), png);
    EXPECT_EQ(files("cover.*"), QStringList{out() + "/cover.png"});
    EXPECT_EQ(bytesOf(out() + "/cover.png"), png);

    TMP3Info id3v1;
    TagFields read;
    ASSERT_TRUE(TrackTags::Read(id3v1, tracks.first(), read));
    EXPECT_EQ(read.frontCover, png);
    EXPECT_EQ(read.frontCoverMime, "image/png");
}

// The log's line tells a cover not fetched from a release without one, unless
// the settings keep covers out of the rip.
TEST(CoverLogLine, SaysWhereTheCoverCameFromOrWhyThereIsNone)
{
    using Origin = AlbumSheet::CoverOrigin;
    using Use = Settings::CoverUse;
    struct Case {
        CoverImage image;
        Origin origin;
        Use use;
        const char* text;
    };
    const CoverImage jpeg{bytesOf(Covers + "front-jpeg.jpg"), CoverImage::JpegMime, QString()};
    const CoverImage failed = CoverImage::Failed(QStringLiteral("erreur HTTP 503"));
    const Case cases[] = {
        {jpeg, Origin::CoverArtArchive, Use::Both, "Cover Art Archive"},
        {jpeg, Origin::ChosenFile, Use::Embed, "fichier choisi"},
        {jpeg, Origin::CoverArtArchive, Use::None, "aucune"},
        {CoverImage(), Origin::CoverArtArchive, Use::Both, "aucune"},
        {failed, Origin::CoverArtArchive, Use::SaveFile, "non récupérée (erreur HTTP 503)"},
        {failed, Origin::CoverArtArchive, Use::None, "aucune"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RipCover(c.image, c.origin, c.use).LogText(), QString::fromUtf8(c.text)) << c.text;
}
