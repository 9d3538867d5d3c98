#include "support/DiscImage.h"
#include "support/RipTool.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <gtest/gtest.h>

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class RipCommandLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        image.AddAudioTrack(DiscImage::NoisePcm(30, 1)).AddDataTrack(20).AddAudioTrack(DiscImage::NoisePcm(25, 2))
            .AddAudioTrack(DiscImage::SinePcm(15, 440));
        cue = image.WriteTo(dir.path());
    }
    RipTool run(QStringList arguments) { return RipTool::Run(QStringList{"--drive", "x=" + cue} + arguments); }

    QTemporaryDir dir;
    DiscImage image;
    QString cue;
};
} // namespace

TEST_F(RipCommandLine, ListsDrivesAndTheTableOfContents)
{
    const RipTool list = run({"--list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_TRUE(list.out.startsWith("x:\\ " + cue + "\n")) << list.out.toStdString();
    const RipTool toc = run({"x:", "--toc"});
    EXPECT_EQ(toc.exitCode, 0) << toc.err.toStdString();
    // Times as mm:ss.ff, 75 frames a second.
    EXPECT_EQ(toc.out, "Track01 Audio 0 29 00:00.00 00:00.30\nTrack02 Data 30 49 00:00.30 00:00.20\n"
                       "Track03 Audio 50 74 00:00.50 00:00.25\nTrack04 Audio 75 89 00:01.00 00:00.15\n");
}

TEST_F(RipCommandLine, RipsOneTrackAsPcmOrWav)
{
    const RipTool pcm = run({"X:", "--track", "3", "--out", dir.filePath("t.pcm"), "--pcm"});
    ASSERT_EQ(pcm.exitCode, 0) << pcm.err.toStdString();
    EXPECT_EQ(readAll(dir.filePath("t.pcm")), image.TrackAt(3).pcm);
    ASSERT_EQ(run({"x:", "--track", "3", "--out", dir.filePath("t.wav")}).exitCode, 0);
    const QByteArray wav = readAll(dir.filePath("t.wav"));
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(wav.mid(44, image.TrackAt(3).pcm.size()), image.TrackAt(3).pcm);
    EXPECT_EQ(wav.size(), 44 + image.TrackAt(3).pcm.size() + 128) << "tagged as the whole disc's run tags it";
}

TEST_F(RipCommandLine, RipsSeveralTracksIntoAFolderWithTagsAndPlaylist)
{
    const QString out = dir.filePath("Ma musique");
    const RipTool rip = run({"x:", "--tracks", "1,3-4", "--dir", out, "--wav", "--artist", "Zoé", "--album", "Live",
                             "--genre", "jazz"});
    ASSERT_EQ(rip.exitCode, 0) << rip.err.toStdString();
    const QString first = out + "/01 - Live - Zoé - Piste 01.wav";
    EXPECT_EQ(readAll(first).mid(44, image.TrackAt(1).pcm.size()), image.TrackAt(1).pcm);
    EXPECT_EQ(readAll(first).right(128).left(3), "TAG");
    EXPECT_TRUE(QFile::exists(out + "/04 - Live - Zoé - Piste 04.wav"));
    const QString playlist = out + "/Zoé - Live - PlayList.M3u";
    EXPECT_EQ(QString::fromUtf8(readAll(playlist)),
              "01 - Live - Zoé - Piste 01.wav\r\n03 - Live - Zoé - Piste 03.wav\r\n04 - Live - Zoé - Piste 04.wav\r\n");
    EXPECT_TRUE(QDir(out).entryList({"*jitt"}).isEmpty());
    const RipTool tag = RipTool::Run({"--read-tag", out + "/03 - Live - Zoé - Piste 03.wav"});
    EXPECT_EQ(tag.out, "title=\nartist=Zoé\nalbum=Live\nyear=\ncomment=\ngenre=Jazz\ntrack=3\n");

    // Again into the same folder: the playlist keeps one line per file.
    ASSERT_EQ(run({"x:", "--tracks", "3", "--dir", out, "--artist", "Zoé", "--album", "Live", "--overwrite"}).exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(readAll(playlist)).count("\r\n"), 3);
}

TEST_F(RipCommandLine, MistakesGetFrenchMessagesAndNoFile)
{
    const RipTool data = run({"x:", "--tracks", "2", "--dir", dir.filePath("d")});
    EXPECT_EQ(data.exitCode, 1);
    EXPECT_TRUE(data.err.contains("Le disque n'a pas de piste audio 2.")) << data.err.toStdString();
    const RipTool badList = run({"x:", "--tracks", "4-1", "--dir", dir.filePath("d")});
    EXPECT_EQ(badList.exitCode, 2);
    EXPECT_TRUE(badList.err.contains("Liste de pistes incorrecte"));
    const RipTool titled = run({"x:", "--tracks", "1", "--dir", dir.filePath("d"), "--title", "T"});
    EXPECT_EQ(titled.exitCode, 2);
    const RipTool encoders = run({"x:", "--tracks", "1", "--dir", dir.filePath("d"), "--mp3", "--encoders", "-1"});
    EXPECT_EQ(encoders.exitCode, 2);
    EXPECT_TRUE(encoders.err.contains("--encoders attend un nombre de 0 à 64.")) << encoders.err.toStdString();
    const struct {
        QStringList options;
        const char* message;
    } flacMistakes[] = {
        {{"--flac", "--flac-level", "9"}, "--flac-level attend un niveau de 0 à 8, pas 9."},
        {{"--flac-level", "3"}, "--flac-level ne s'emploie qu'avec --flac."},
        {{"--flac", "--mp3"}, "--flac ne se combine pas avec --mp3."},
        {{"--opus", "--vorbis"}, "--opus ne se combine pas avec --vorbis."},
        {{"--opus", "--opus-bitrate", "300"}, "--opus-bitrate attend un débit de 64 à 256, pas 300."},
        {{"--vorbis-quality", "5"}, "--vorbis-quality ne s'emploie qu'avec --vorbis."},
        {{"--vorbis", "--vorbis-quality=11"}, "--vorbis-quality attend une qualité de -1 à 10, pas 11."},
    };
    for (const auto& m : flacMistakes) {
        const RipTool flac = run(QStringList{"x:", "--track", "1", "--out", dir.filePath("t.flac")} + m.options);
        EXPECT_EQ(flac.exitCode, 2);
        EXPECT_TRUE(flac.err.contains(QString::fromUtf8(m.message))) << flac.err.toStdString();
    }
    const RipTool noDrive = run({"q:", "--toc"});
    EXPECT_EQ(noDrive.exitCode, 1);
    EXPECT_TRUE(noDrive.err.contains("Le lecteur q: n'existe pas.")) << noDrive.err.toStdString();
    EXPECT_FALSE(QDir(dir.filePath("d")).exists());
}

// A line break or an escape in --artist and an album of 600 bytes: real
// files, one playlist line each, no control character in any name.
TEST_F(RipCommandLine, HostileNamesGiveSafeFilesAndPlaylistLines)
{
    const QString out = dir.filePath("hostile");
    const QString album = QString(300, QChar(0x00E9));
    const RipTool rip = run({"x:", "--tracks", "1,3", "--dir", out, "--artist", "Zo\né\x1b[2J", "--album", album});
    ASSERT_EQ(rip.exitCode, 0) << rip.err.toStdString();
    const QStringList files = QDir(out).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 4) << files.join(" | ").toStdString(); // two tracks, the playlist, the rip log
    for (const QString& name : files) {
        EXPECT_LE(name.toUtf8().size(), 255);
        for (const QChar c : name)
            EXPECT_GE(c.unicode(), 0x20) << name.toStdString();
    }
    EXPECT_TRUE(files.filter(".wav").size() == 2 && files.filter(".M3u").size() == 1 && files.filter(".log").size() == 1);
    const QString playlist = out + "/" + files.filter(".M3u").first();
    const QStringList lines = QString::fromUtf8(readAll(playlist)).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    for (const QString& line : lines)
        EXPECT_TRUE(QFile::exists(out + "/" + line)) << line.toStdString();
}

TEST_F(RipCommandLine, ADiscOf99TracksIsRippedPastTheFiftiethTrack)
{
    DiscImage big;
    for (int t = 1; t <= 99; ++t)
        big.AddAudioTrack(DiscImage::NoisePcm(2, uint32_t(t)));
    const QString bigCue = big.WriteTo(dir.path(), "big");
    const QString out = dir.filePath("grand");
    const RipTool rip = RipTool::Run({"--drive", "x=" + bigCue, "x:", "--tracks", "51,98-99", "--dir", out, "--wav"});
    ASSERT_EQ(rip.exitCode, 0) << rip.err.toStdString();
    EXPECT_EQ(readAll(out + "/99 - Piste 99.wav").mid(44, big.TrackAt(99).pcm.size()), big.TrackAt(99).pcm);
    EXPECT_EQ(readAll(out + "/PlayList.M3u"), "51 - Piste 51.wav\r\n98 - Piste 98.wav\r\n99 - Piste 99.wav\r\n");
    EXPECT_EQ(RipTool::Run({"--drive", "x=" + bigCue, "x:", "--tracks", "100", "--dir", out}).exitCode, 2);
}

TEST_F(RipCommandLine, ABitrateTheEncoderWouldChangeIsRefused)
{
    for (const QString bitrate : {"-5", "1000", "100"}) {
        const RipTool rip = run({"x:", "--track", "1", "--out", dir.filePath("t.mp3"), "--mp3", "--bitrate", bitrate});
        EXPECT_EQ(rip.exitCode, 2) << bitrate.toStdString();
        EXPECT_TRUE(rip.err.startsWith(QString::fromUtf8("--bitrate attend l'un des débits MP3 32, 40, 48, 56, 64, 80, 96, "
                                                         "112, 128, 160, 192, 224, 256, 320 (en kbit/s), pas %1.")
                                           .arg(bitrate)))
            << rip.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("t.mp3")));
}

TEST_F(RipCommandLine, ACueWhoseBinHasAnotherNameSaysWhy)
{
    QFile::rename(dir.filePath("disc.bin"), dir.filePath("autre.bin"));
    const RipTool toc = run({"x:", "--toc"});
    EXPECT_EQ(toc.exitCode, 1);
    EXPECT_TRUE(toc.err.contains(QString::fromUtf8("le fichier « %1 » est introuvable").arg(dir.filePath("disc.bin"))))
        << toc.err.toStdString();
}

TEST_F(RipCommandLine, AnArgumentMistakeIsOneFrenchLineAndThePointerToTheHelp)
{
    const struct {
        QStringList arguments;
        QString line;
    } cases[] = {
        {{"--frobnicate"}, "Option inconnue : --frobnicate."},
        {{"x:", "-q"}, "Option inconnue : -q."},
        {{"x:", "--trakcs", "1-3"}, "Option inconnue : --trakcs. Vouliez-vous dire --tracks ?"},
        {{"x:", "--Flac"}, "Option inconnue : --Flac. Vouliez-vous dire --flac ?"},
        {{"x:"}, "Aucune commande : --list, --toc, --discid, --cd-text, --cddb, --musicbrainz, --track, --tracks, "
                 "--accuraterip-id, --find-offset, --read-tag, --repair ou --convert."},
        {{"x:", "--track", "1", "--out"}, "--out attend une valeur : --out FICHIER."},
        {{"--list=oui"}, "--list ne prend pas de valeur."},
        {{"x:", "--track", "un", "--out", "t.wav"}, "--track attend un nombre entier, pas « un »."},
        {{"x:", "--cddb", "--release", "0"}, "--release attend un numéro d'album à partir de 1, pas 0."},
        {{"x:", "--toc", "--release", "2"}, "--release ne s'emploie qu'avec --cddb ou --musicbrainz."},
    };
    for (const auto& c : cases) {
        const RipTool rip = run(c.arguments);
        EXPECT_EQ(rip.exitCode, 2) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(rip.err, c.line + "\nVoir calvenor-rip --help.\n");
    }
}

// Without --dir, into the current folder. Standard error has the whole
// run's progress in plain lines; each file is named once, on standard
// output, the tracks last: `tail -n 3` gives them.
TEST_F(RipCommandLine, EachFileIsNamedOnceAndTheTracksEndTheOutput)
{
    const QString threeTracks = DiscImage()
                                    .AddAudioTrack(DiscImage::NoisePcm(30, 1))
                                    .AddAudioTrack(DiscImage::NoisePcm(25, 2))
                                    .AddAudioTrack(DiscImage::SinePcm(15, 440))
                                    .WriteTo(dir.path(), "trois");
    const QTemporaryDir here;
    const RipTool rip = RipTool::RunIn(
        here.path(), {"--drive", "x=" + threeTracks, "x:", "--tracks", "1-3", "--flac", "--no-accuraterip", "--no-ctdb"});
    ASSERT_EQ(rip.exitCode, 0) << rip.err.toStdString();
    QStringList tracks;
    for (int k = 1; k <= 3; ++k)
        tracks << here.filePath(QString("%1 - Piste %1.flac").arg(k, 2, 10, QChar('0')));
    const QStringList lines = rip.out.split('\n');
    EXPECT_EQ(lines.mid(lines.size() - 4), tracks + QStringList{""}) << rip.out.toStdString();
    const QStringList files = QStringList{here.filePath("PlayList.cue"), here.filePath("PlayList.M3u")} + tracks;
    EXPECT_EQ(lines, files + QStringList{""});
    for (const QString& file : files)
        EXPECT_EQ((rip.out + rip.err).count(QFileInfo(file).fileName()), 1) << file.toStdString();

    EXPECT_FALSE(rip.err.contains('\r'));
    const QStringList progress =
        rip.err.split('\n').filter(QRegularExpression(QString::fromUtf8("^Piste [1-3]/3 – \\d+ %")));
    ASSERT_FALSE(progress.isEmpty()) << rip.err.toStdString();
    EXPECT_TRUE(progress.first().startsWith(QString::fromUtf8("Piste 1/3 – 0 %"))) << progress.first().toStdString();
    EXPECT_TRUE(progress.last().startsWith(QString::fromUtf8("Piste 3/3 – 100 %"))) << progress.last().toStdString();
    EXPECT_TRUE(rip.err.startsWith(progress.join('\n') + '\n')) << rip.err.toStdString();
}

// The drive error's exit code, with the source named.
TEST_F(RipCommandLine, AMissingImageOrSourceIsNamedAndNoProgressIsShown)
{
    const struct {
        QStringList arguments;
        QString err;
    } cases[] = {
        {{"--drive", "x=/nonexist.cue", "x:", "--toc"}, "Le fichier image « /nonexist.cue » n'existe pas.\n"},
        {{"--convert", dir.filePath("absent.wav")}, "Le fichier \"" + dir.filePath("absent.wav") + "\" n'existe pas.\n"},
    };
    for (const auto& c : cases) {
        const RipTool rip = RipTool::Run(c.arguments);
        EXPECT_EQ(rip.exitCode, 1) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(rip.err, c.err);
    }
}

TEST_F(RipCommandLine, ListingWithoutAnyDriveSaysSo)
{
    if (!QDir("/dev").entryList({"sr*"}, QDir::System).isEmpty())
        GTEST_SKIP() << "this machine has a CD drive";
    const RipTool list = RipTool::Run({"--list"});
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_EQ(list.err, "Aucun lecteur de CD n'a été trouvé ; une image de disque se donne avec --drive X=CHEMIN.\n");
    EXPECT_TRUE(list.out.isEmpty());
}

// --name puts the files in folders of their values; a template that gives two
// tracks one file rips nothing; a bad one is refused before the disc is read.
TEST_F(RipCommandLine, TheNameTemplateMakesFoldersAndRefusesCollisions)
{
    const QString out = dir.filePath("modele");
    const QStringList tags{"--artist", "Zoé", "--album", "Live"};
    const RipTool named = run(QStringList{"x:", "--tracks", "1,3", "--dir", out, "--name", "%a/%d/%n %t"} + tags);
    ASSERT_EQ(named.exitCode, 0) << named.err.toStdString();
    EXPECT_EQ(readAll(out + "/Zoé/Live/03 Piste 03.wav").mid(44, image.TrackAt(3).pcm.size()), image.TrackAt(3).pcm);
    EXPECT_EQ(QString::fromUtf8(readAll(out + "/Zoé/Live/Zoé - Live - PlayList.M3u")),
              "01 Piste 01.wav\r\n03 Piste 03.wav\r\n")
        << "the playlist goes with the album's tracks";

    const QString clash = dir.filePath("collision");
    const RipTool same = run(QStringList{"x:", "--tracks", "1,3-4", "--dir", clash, "--name", "%d/%a"} + tags);
    EXPECT_EQ(same.exitCode, 1);
    EXPECT_EQ(same.err, "Les pistes 01 et 03 donneraient le même fichier « " + clash
                            + "/Live/Zoé.wav » : changez le modèle de nom.\n");
    EXPECT_FALSE(QDir(clash + "/Live").exists());

    const RipTool bad = run({"x:", "--tracks", "1", "--dir", clash, "--name", "%n %x"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.startsWith("--name : Le modèle de nom de fichier contient « %x »")) << bad.err.toStdString();
}

// An artist or album that would climb out of the folder, make folders or
// overflow a name: every file of the whole disc lands in --dir, the playlist,
// cue sheet and log among them.
TEST_F(RipCommandLine, NamesFromOutsideKeepEveryFileInTheFolder)
{
    const struct {
        QString artist, album;
    } cases[] = {
        {"../..", "Live"},
        {"AC/DC", "Live"},
        {"Zoé", "a\\b"},
        {"Zoé", QString(150, QChar(0x00E9))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.artist.toStdString() + " / " + c.album.toStdString());
        const QTemporaryDir scratch;
        const QString out = scratch.filePath("un/deux");
        const RipTool rip = run({"x:", "--tracks", "1,3-4", "--dir", out, "--artist", c.artist, "--album", c.album});
        EXPECT_EQ(rip.exitCode, 0) << rip.err.toStdString();
        QStringList files;
        for (QDirIterator it(scratch.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            files << it.next();
        for (const QString& file : files)
            EXPECT_TRUE(file.startsWith(out + "/")) << file.toStdString();
        // "...." is a name of its own, hidden as it starts with a dot.
        const QDir::Filters kinds = QDir::Files | QDir::Hidden;
        EXPECT_EQ(QDir(out).entryList(kinds).size(), 6) << files.join(" | ").toStdString();
        for (const char* kind : {"*.wav", "*.M3u", "*.cue", "*.log"})
            EXPECT_FALSE(QDir(out).entryList({kind}, kinds).isEmpty()) << kind;
    }
}

// Two discs whose playlists would have one name in one folder: the second
// gets names of its own, with its id; ripped again, it writes to them again.
TEST_F(RipCommandLine, TwoDiscsInOneFolderKeepTheirOwnPlaylistCueSheetAndLog)
{
    const QString other = DiscImage().AddAudioTrack(DiscImage::NoisePcm(40, 7)).WriteTo(dir.path(), "autre");
    const QString out = dir.filePath("Live");
    const QStringList options{"--dir", out, "--album", "Live", "--name", "%y %n"};
    ASSERT_EQ(run(QStringList{"x:", "--tracks", "1,3-4", "--year", "1999"} + options).exitCode, 0);
    const QStringList second{"--drive", "y=" + other, "y:", "--tracks", "1", "--year", "2005"};
    const RipTool rip = RipTool::Run(second + options);
    ASSERT_EQ(rip.exitCode, 0) << rip.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(readAll(out + "/PlayList.M3u")), "1999 01.wav\r\n1999 03.wav\r\n1999 04.wav\r\n");
    const QString cueA = QString::fromUtf8(readAll(out + "/PlayList.cue"));
    EXPECT_TRUE(cueA.contains("FILE \"1999 04.wav\"") && !cueA.contains("2005")) << cueA.toStdString();
    EXPECT_TRUE(QString::fromUtf8(readAll(out + "/Rapport.log")).contains("Fichier CUE : " + out + "/PlayList.cue\n"));

    const QString cueB = rip.out.split('\n').filter(".cue").value(0);
    const QString id = QString::fromUtf8(readAll(cueB)).section('\n', 0, 0).section(' ', 2);
    EXPECT_FALSE(id.isEmpty() || cueA.startsWith("REM DISCID " + id + "\n")) << id.toStdString();
    EXPECT_EQ(cueB, out + "/" + id + " - PlayList.cue");
    EXPECT_EQ(QString::fromUtf8(readAll(out + "/" + id + " - PlayList.M3u")), "2005 01.wav\r\n");
    const QString logB = QString::fromUtf8(readAll(out + "/" + id + " - Rapport.log"));
    EXPECT_TRUE(logB.contains("Fichier CUE : " + cueB + "\n")) << logB.toStdString();

    // Ripped again, each disc writes to its own names.
    ASSERT_EQ(RipTool::Run(second + options + QStringList{"--overwrite"}).exitCode, 0);
    ASSERT_EQ(run(QStringList{"x:", "--tracks", "1", "--year", "1999", "--overwrite"} + options).exitCode, 0);
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 10);
    EXPECT_FALSE(readAll(out + "/Rapport.log").contains("2005"));
    EXPECT_FALSE(readAll(out + "/" + id + " - Rapport.log").contains("1999"));
    // Even once the first disc's files are gone.
    for (const QString name : {"PlayList.M3u", "PlayList.cue", "Rapport.log"})
        QFile::remove(out + "/" + name);
    ASSERT_EQ(RipTool::Run(second + options + QStringList{"--overwrite"}).exitCode, 0);
    EXPECT_EQ(QDir(out).entryList({"*Rapport.log"}), QStringList{id + " - Rapport.log"});
}

// A compilation named by its CD-Text: each file after its own performer and
// title, the playlist, cue sheet and log after the album's performer.
TEST_F(RipCommandLine, TheCdTextOfACompilationNamesTheFilesAndTheAlbumsOwn)
{
    DiscImage compilation;
    compilation.AddAudioTrack(DiscImage::NoisePcm(30, 4)).AddAudioTrack(DiscImage::NoisePcm(25, 5));
    compilation.SetCdText({"Été 85", "Plage", "Nuit"}, {"Artistes divers", "Zoé", "Léo"});
    const QString disc = compilation.WriteTo(dir.path(), "compil");
    const QString out = dir.filePath("compil");
    const RipTool rip =
        RipTool::Run({"--drive", "y=" + disc, "y:", "--tracks", "1-2", "--cd-text", "--dir", out, "--wav", "--no-accuraterip",
                      "--no-ctdb"});
    ASSERT_EQ(rip.exitCode, 0) << rip.err.toStdString();
    const QStringList files = QDir(out).entryList(QDir::Files);
    for (const char* name : {"01 - Été 85 - Zoé - Plage.wav", "02 - Été 85 - Léo - Nuit.wav",
                                "Artistes divers - Été 85 - PlayList.M3u", "Artistes divers - Été 85 - PlayList.cue",
                                "Artistes divers - Été 85 - Rapport.log"})
        EXPECT_TRUE(files.contains(QString::fromUtf8(name))) << name << " in " << files.join(", ").toStdString();
    EXPECT_TRUE(readAll(out + "/Artistes divers - Été 85 - PlayList.cue").contains("PERFORMER \"Artistes divers\""));
    EXPECT_EQ(RipTool::Run({"--drive", "y=" + disc, "y:", "--tracks", "1", "--cd-text", "--cddb", "--dir", out}).exitCode,
              2)
        << "one source of names";
}

// The same disc in FLAC, then in MP3, into one album folder: one playlist and
// one cue sheet a format, each naming only its own files, beside the tracks.
TEST_F(RipCommandLine, TwoFormatsOfOneAlbumGetAPlaylistAndACueSheetEach)
{
    const QString out = dir.filePath("formats");
    for (const char* format : {"--opus", "--flac", "--mp3"}) {
        const RipTool rip = run({"x:", "--tracks", "1,3-4", "--dir", out, format, "--name", "%A/%d/%n - %t", "--artist",
                                 "Zoé", "--album", "Live", "--no-accuraterip", "--no-ctdb", "--no-replaygain"});
        ASSERT_EQ(rip.exitCode, 0) << rip.err.toStdString();
    }
    const QString album = out + "/Zoé/Live/";
    const struct {
        const char* list;
        const char* own;
        const char* other;
    } cases[] = {
        {"Zoé - Live - PlayList.M3u", ".opus", ".flac"},
        {"Zoé - Live - PlayList.cue", ".opus", ".mp3"},
        {"Zoé - Live - PlayList (FLAC).M3u", ".flac", ".mp3"},
        {"Zoé - Live - PlayList (FLAC).cue", ".flac", ".opus"},
        {"Zoé - Live - PlayList (MP3).M3u", ".mp3", ".flac"},
        {"Zoé - Live - PlayList (MP3).cue", ".mp3", ".opus"},
    };
    for (const auto& c : cases) {
        const QByteArray text = readAll(album + QString::fromUtf8(c.list));
        EXPECT_EQ(text.count(c.own), 3) << c.list << ":\n" << text.toStdString();
        EXPECT_EQ(text.count(c.other), 0) << c.list;
    }
    EXPECT_TRUE(QFile::exists(album + "Zoé - Live - Rapport.log"));
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 0) << "nothing above the album's folder";
}

// --out names the format: its extension chooses it, and never disagrees with the option given.
TEST_F(RipCommandLine, TheOutputsExtensionChoosesTheFormatOrIsRefused)
{
    const struct {
        const char* file;
        QStringList options;
        int exitCode;
        QByteArray start; // of the file written
    } cases[] = {
        {"a.flac", {}, 0, "fLaC"},
        {"b.mp3", {}, 0, "ID3"},
        {"c.wav", {}, 0, "RIFF"},
        {"d.flac", {"--mp3"}, 2, {}},
        {"e.mp3", {"--wav"}, 2, {}},
        {"f.opus", {}, 0, "OggS"},
        {"g.ogg", {"--vorbis", "--vorbis-quality=-1"}, 0, "OggS"},
        {"h.opus", {"--vorbis"}, 2, {}},
        {"i.ogg", {"--opus", "--opus-bitrate", "96"}, 2, {}},
    };
    for (const auto& c : cases) {
        const QString out = dir.filePath(c.file);
        const RipTool rip = run(QStringList{"x:", "--track", "1", "--out", out, "--no-accuraterip", "--no-ctdb"} + c.options);
        EXPECT_EQ(rip.exitCode, c.exitCode) << c.file << ": " << rip.err.toStdString();
        EXPECT_EQ(readAll(out).left(c.start.size()), c.start) << c.file;
        if (c.exitCode == 2) {
            EXPECT_TRUE(rip.err.contains("ne porte pas l'extension du format demandé")) << rip.err.toStdString();
        }
        EXPECT_EQ(QDir(dir.path()).entryList({"?.*"}).contains(c.file), c.exitCode == 0);
    }
    // The Opus file is tagged, and read again by --read-tag.
    const RipTool tag = run({"--read-tag", dir.filePath("f.opus")});
    EXPECT_EQ(tag.exitCode, 0) << tag.err.toStdString();
    EXPECT_TRUE(tag.out.contains("track=1\n")) << tag.out.toStdString();
}

// One track on its own gets what the whole disc's run gives it: the album's
// identity, its loudness and the cover; only the album's loudness needs the album.
TEST_F(RipCommandLine, ATrackOnItsOwnIsTaggedAsInTheWholeDiscsRun)
{
    QImage cover(64, 64, QImage::Format_RGB32);
    cover.fill(Qt::darkCyan);
    ASSERT_TRUE(cover.save(dir.filePath("cover.png")));
    const QStringList common{"--flac", "--artist", "Zoé", "--album", "Live", "--year", "2001", "--cover",
                             dir.filePath("cover.png"), "--no-accuraterip", "--no-ctdb"};
    ASSERT_EQ(run(QStringList{"x:", "--tracks", "1,3-4", "--dir", dir.filePath("disque")} + common).exitCode, 0);
    const RipTool one = run(QStringList{"x:", "--track", "3", "--out", dir.filePath("seule.flac")} + common);
    ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
    const auto tagsOf = [](const QString& file) {
        QString text;
        for (const QStringList& arguments : {QStringList{"--export-tags-to=-"}, QStringList{"--list", "--block-type=PICTURE"}}) {
            QProcess metaflac;
            metaflac.start("metaflac", arguments + QStringList{file});
            metaflac.waitForFinished();
            text += QString::fromUtf8(metaflac.readAllStandardOutput());
        }
        QStringList lines = text.split('\n');
        lines.removeIf([](const QString& l) { return l.startsWith("REPLAYGAIN_ALBUM_") || l.contains("offset"); });
        return lines;
    };
    const QStringList whole = tagsOf(dir.filePath("disque/03 - Live - Zoé - Piste 03.flac"));
    EXPECT_TRUE(whole.contains("ARTIST=Zoé") && whole.contains("  type: 3 (Cover (front))"))
        << whole.join('\n').toStdString();
    EXPECT_EQ(tagsOf(dir.filePath("seule.flac")), whole);
}

// A pipe is written where it is: the header announces the track, no tag follows.
TEST_F(RipCommandLine, ATrackIntoAPipeIsTheWavFileWholeAndUntagged)
{
    const QString fifo = dir.filePath("tuyau.wav");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess reader;
    reader.start("cat", {fifo});
    const RipTool rip = run({"x:", "--track", "3", "--out", fifo, "--overwrite", "--no-accuraterip", "--no-ctdb"});
    reader.waitForFinished();
    EXPECT_EQ(rip.exitCode, 0) << rip.err.toStdString();
    EXPECT_EQ(reader.readAllStandardOutput().mid(44), image.TrackAt(3).pcm);
}
