#include "app/cli/RipCommandLine.h"
#include "support/DiscImage.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

namespace {
// The error stream of calvenor-rip, run in this process: acts once when it
// has printed a given number of progress steps, in the middle of a rip.
class ProgressTrigger : public QIODevice {
public:
    ProgressTrigger(int steps, std::function<void()> action) : m_steps(steps), m_action(action)
    {
        open(QIODevice::WriteOnly);
    }
    QString text;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        text += QString::fromUtf8(data, int(size));
        if (m_action && text.count(QStringLiteral("Avancement")) >= m_steps)
            std::exchange(m_action, nullptr)();
        return size;
    }

private:
    int m_steps;
    std::function<void()> m_action;
};

// A rip of one long track by calvenor-rip's own code, stopped from outside halfway.
class RipInterruption : public ::testing::Test {
protected:
    void SetUp() override
    {
        cue = DiscImage().AddAudioTrack(DiscImage::NoisePcm(750, 7)).WriteTo(dir.path());
        QDir(dir.path()).mkpath("sortie");
    }
    int ripHalfwayThen(std::function<void()> action)
    {
        ProgressTrigger errors(3, action);
        QString out;
        QTextStream outStream(&out), errStream(&errors);
        const int code = RipCommandLine(outStream, errStream)
                             .Run({"--drive", "x=" + cue, "x:", "--track", "1", "--out", wav, "--wav"});
        errStream.flush();
        message = errors.text;
        return code;
    }

    QTemporaryDir dir;
    QString cue;
    QString wav = dir.filePath("sortie/piste.wav");
    QString message;
};
} // namespace

TEST_F(RipInterruption, ASignalEndsTheWavFileWithAHeaderThatTellsWhatItHolds)
{
    EXPECT_EQ(ripHalfwayThen([] { std::raise(SIGTERM); }), 1);
    EXPECT_TRUE(message.contains(QString("Extraction interrompue par le signal %1.\nPiste 01 interrompue à 00:0").arg(SIGTERM)))
        << message.toStdString();
    QFile file(wav);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 44);
    EXPECT_LT(bytes.size(), 44 + 750 * DiscImage::SectorBytes);
    EXPECT_EQ(qFromLittleEndian<uint32_t>(bytes.constData() + 40), uint32_t(bytes.size() - 44));
    EXPECT_EQ(qFromLittleEndian<uint32_t>(bytes.constData() + 4), uint32_t(bytes.size() - 8));
}

TEST_F(RipInterruption, ADestinationRemovedDuringTheRipIsNotBlamedOnTheDisc)
{
    EXPECT_EQ(ripHalfwayThen([this] { QDir(dir.filePath("sortie")).removeRecursively(); }), 1);
    EXPECT_TRUE(message.contains(QString("Impossible de créer le fichier \"%1\". Son dossier n'existe pas ou plus "
                                         "(a-t-il été supprimé ?).")
                                     .arg(wav)))
        << message.toStdString();
    EXPECT_FALSE(message.contains("Le disque n'a pas pu être lu"));
}
