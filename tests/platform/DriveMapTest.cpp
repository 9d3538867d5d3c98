#include "support/DiscImage.h"
#include "platform/CalvenorError.h"
#include "platform/DriveMap.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QString messageOf(const QStringList& args)
{
    try {
        DriveMap::FromArguments(args, nullptr, false);
    } catch (const CalvenorError& e) {
        return e.message();
    }
    return {};
}
} // namespace

TEST(DriveMap, TakesDriveOptionsOutAndKeepsTheOtherArgumentsInOrder)
{
    QStringList rest;
    DriveMap map = DriveMap::FromArguments(
        {"--drive", "f=/img/one.cue", "E:\\", "--drive=D=/img/two.cue", "--toc", "--drive", "x=/dev/sr7"}, &rest, false);

    EXPECT_EQ(rest, QStringList({"E:\\", "--toc"}));
    EXPECT_EQ(map.Letters(), QList<QChar>({'d', 'f', 'x'}));
    EXPECT_EQ(map.CdSources(), QStringList({"/img/two.cue", "/img/one.cue", "/dev/sr7"}));
    EXPECT_TRUE(map.isCdDrive('D'));
    EXPECT_TRUE(map.isCdDrive('f'));
    EXPECT_FALSE(map.isCdDrive('e'));
    EXPECT_EQ(map.source('F'), "/img/one.cue");
    EXPECT_EQ(map.source('e'), QString());
}

TEST(DriveMap, MalformedDriveOptionsAreRefusedInFrench)
{
    EXPECT_TRUE(messageOf({"--drive"}).contains("LETTRE=CHEMIN"));
    for (const QString& value : QStringList{"d", "d=", "dd=/x.cue", "=/x.cue", "/x.cue"})
        EXPECT_TRUE(messageOf({"--drive", value}).startsWith("Valeur incorrecte pour --drive")) << value.toStdString();
    EXPECT_EQ(messageOf({"--drive=z=/x.cue"}),
              QString::fromUtf8("Lettre de lecteur incorrecte pour --drive : « z ». Les lettres vont de a à y."));
    EXPECT_TRUE(messageOf({"--drive", "1=/x.cue"}).startsWith("Lettre de lecteur incorrecte"));
    EXPECT_TRUE(messageOf({"--drive", "d=/a.cue", "--drive", "D=/b.cue"}).contains("deux fois"));
    EXPECT_EQ(messageOf({"--drive", "a=/a.cue", "--drive", "y=/y.cue"}), QString());
}

TEST(DriveMap, DevicesTakeTheFreeLettersFromDOn)
{
    QStringList rest;
    DriveMap map = DriveMap::FromArguments({"--drive", "e=/img.cue", "--drive", "a=/a.cue"}, &rest,
                                           QStringList({"/dev/sr0", "/dev/sr1", "/dev/sr2"}));
    EXPECT_EQ(map.Letters(), QList<QChar>({'a', 'd', 'e', 'f', 'g'}));
    EXPECT_EQ(map.CdSources(), QStringList({"/a.cue", "/dev/sr0", "/img.cue", "/dev/sr1", "/dev/sr2"}));

    // The desktop names an inserted CD by its device.
    DriveMap::FromArguments({"cdda://sr1/", "/dev/sr2", "--drive", "x=/a.cue", "/a.cue", "cdda://sr9/"}, &rest,
                            QStringList({"/dev/sr0", "/dev/sr1", "/dev/sr2"}));
    EXPECT_EQ(rest, QStringList({"e:", "f:", "/a.cue", "cdda://sr9/"}));
    rest.clear();

    QStringList many;
    for (int i = 0; i < 30; ++i)
        many << QStringLiteral("/dev/sr%1").arg(i);
    DriveMap full = DriveMap::FromArguments({}, &rest, many);
    EXPECT_EQ(full.Letters().size(), 'y' - 'd' + 1); // z is never a drive
    EXPECT_EQ(full.Letters().last(), QChar('y'));
}

TEST(DriveMap, ImageDiscIsPresentWhileItsFilesAreThere)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString cue = DiscImage().AddAudioTrack(DiscImage::SinePcm(10, 440)).WriteTo(dir.path(), "album");
    const QString other = dir.filePath("other.nrg");
    QStringList rest;
    DriveMap map = DriveMap::FromArguments({"--drive", "d=" + cue, "--drive", "e=" + other}, &rest, false);

    EXPECT_TRUE(map.isDiscPresent('d'));
    EXPECT_TRUE(map.isDiscPresent('D'));
    EXPECT_FALSE(map.isDiscPresent('e')) << "missing image";
    EXPECT_FALSE(map.isDiscPresent('f')) << "unmapped letter";

    QFile nrg(other);
    ASSERT_TRUE(nrg.open(QIODevice::WriteOnly));
    nrg.close();
    EXPECT_TRUE(map.isDiscPresent('e'));

    // The reader opens the .bin named after the cue, so the cue alone is no disc.
    ASSERT_TRUE(QFile::remove(dir.filePath("album.bin")));
    EXPECT_FALSE(map.isDiscPresent('d'));
}
