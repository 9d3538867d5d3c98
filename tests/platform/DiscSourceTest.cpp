#include "support/DiscImage.h"
#include "platform/CalvenorError.h"
#include "platform/CdioDisc.h"
#include "platform/DriveMap.h"
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {
// Sources that are not what they claim: each must give a French text, never a crash.
class DiscSources : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    static QString openingError(const QString& source)
    {
        try {
            CdioDisc(source).Toc();
        } catch (const CalvenorError& e) {
            return e.message();
        }
        return QString();
    }

    QTemporaryDir dir;
};
} // namespace

TEST_F(DiscSources, AnImageIsReadOnlyByTheDriverItsExtensionNames)
{
    // Probed as a Nero image, these four bytes made libcdio read uninitialised memory.
    EXPECT_FALSE(openingError(write("disc.toc", "NER5")).isEmpty());
    const QString img = write("disc.img", QByteArray(4 * 2352, '\0'));
    const QString refusal = QString::fromUtf8("« %1 » n'est ni un lecteur de CD ni une image de disque reconnue : une "
                                              "image est lue d'après son extension (.cue avec son .bin, .toc ou .nrg).")
                                .arg(img);
    EXPECT_EQ(openingError(img), refusal);
    QStringList rest;
    EXPECT_THROW(DriveMap::FromArguments({"--drive", "d=" + img}, &rest, false), CalvenorError);
}

TEST_F(DiscSources, ANeroImageWhoseFrameOverrunsTheFileIsRefused)
{
    QByteArray footer("NER5");
    footer += QByteArray(8, '\0');
    qToBigEndian<quint64>(0xffffffffffffff00ULL, footer.data() + 4);
    EXPECT_TRUE(openingError(write("disc.nrg", QByteArray(64, '\0') + footer)).contains("endommagée"));
}

TEST_F(DiscSources, ACueWhoseBinHasAnotherNameSaysWhyItCannotBeRead)
{
    const QString cue = DiscImage().AddAudioTrack(DiscImage::SinePcm(10, 440)).WriteTo(dir.path(), "album");
    QFile::rename(dir.filePath("album.bin"), dir.filePath("other.bin"));
    QStringList rest;
    DriveMap map = DriveMap::FromArguments({"--drive", "d=" + cue}, &rest, false);
    EXPECT_FALSE(map.isDiscPresent('d'));
    const QString reason = map.unreadableReason('d');
    EXPECT_TRUE(reason.contains(dir.filePath("album.bin") + " » est introuvable")) << reason.toStdString();
    EXPECT_TRUE(reason.contains("de même nom")) << reason.toStdString();
    EXPECT_EQ(openingError(cue), reason);
}
