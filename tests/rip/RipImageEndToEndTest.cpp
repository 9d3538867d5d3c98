#include "platform/CdioRipLibrary.h"
#include "rip/TCDRIP.h"
#include "support/DiscImage.h"
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

uint32_t le32(const QByteArray& b, int offset)
{
    return qFromLittleEndian<uint32_t>(b.constData() + offset);
}

uint16_t le16(const QByteArray& b, int offset)
{
    return qFromLittleEndian<uint16_t>(b.constData() + offset);
}

// Checks a WAV file written by the ripper: header fields and the PCM after it.
void expectWav(const QByteArray& wav, int channels, int rate, const QByteArray& pcm)
{
    ASSERT_GE(wav.size(), 44);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(le16(wav, 22), channels);
    EXPECT_EQ(le32(wav, 24), static_cast<uint32_t>(rate));
    EXPECT_EQ(le32(wav, 28), static_cast<uint32_t>(channels * rate * 2));
    EXPECT_EQ(wav.mid(36, 4), "data");
    EXPECT_EQ(le32(wav, 40), static_cast<uint32_t>(wav.size() - 44)) << "data size = PCM bytes written";
    EXPECT_EQ(le32(wav, 4), static_cast<uint32_t>(wav.size() - 8)) << "RIFF size = PCM bytes written + 36";
    EXPECT_TRUE(wav.mid(44) == pcm);
}

class RipImageEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString out(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};
} // namespace

TEST_F(RipImageEndToEnd, EveryAudioTrackRipsToItsSourcePcmAndWav)
{
    DiscImage image;
    image.AddAudioTrack(DiscImage::NoisePcm(120, 101))
        .AddAudioTrack(DiscImage::SinePcm(75, 440), DiscImage::CopyPermitted)
        .AddAudioTrack(DiscImage::NoisePcm(53, 102));
    CdioRipLibrary lib({image.WriteTo(dir.path())});
    TCDRIP rip(lib);

    ASSERT_EQ(rip.Tracks.size(), 3);
    for (int n = 1; n <= 3; ++n) {
        const TrackEntry& e = rip.Tracks.at(n - 1);
        const DiscImage::Track& t = image.TrackAt(n);
        EXPECT_EQ(e.Name, QStringLiteral("Track0%1").arg(n));
        EXPECT_EQ(e.Track.Kind, "Audio");
        EXPECT_EQ(e.Track.FirstSector, t.firstSector);
        EXPECT_EQ(e.Track.LastSector, t.lastSector);

        rip.SetFileFormat(FileFormat::Pcm);
        rip.RipTrack(n, out(QStringLiteral("%1.pcm").arg(n)));
        EXPECT_TRUE(readAll(out(QStringLiteral("%1.pcm").arg(n))) == t.pcm) << "track " << n;

        rip.SetFileFormat(FileFormat::Wav);
        rip.RipTrack(n, out(QStringLiteral("%1.wav").arg(n)));
        expectWav(readAll(out(QStringLiteral("%1.wav").arg(n))), 2, 44100, t.pcm);
    }
    EXPECT_EQ(rip.JitterErrors, 0);
    EXPECT_FALSE(QFile::exists(TCDRIP::JitterLogPath(out("1.wav"))));
}

TEST_F(RipImageEndToEnd, DataTrackIsListedAsDataAndTheAudioStillRips)
{
    DiscImage image;
    image.AddDataTrack(200).AddAudioTrack(DiscImage::NoisePcm(90, 201));
    CdioRipLibrary lib({image.WriteTo(dir.path(), "mixed")});
    TCDRIP rip(lib);

    ASSERT_EQ(rip.Tracks.size(), 2);
    EXPECT_EQ(rip.Tracks.at(0).Track.Kind, "Data");
    EXPECT_EQ(rip.Tracks.at(1).Track.Kind, "Audio");
    EXPECT_EQ(rip.Tracks.at(1).Track.FirstSector, 200);
    EXPECT_EQ(rip.Tracks.at(1).Track.LastSector, 289);

    rip.RipTrack(2, out("2.pcm"));
    EXPECT_TRUE(readAll(out("2.pcm")) == image.TrackAt(2).pcm);
}

TEST_F(RipImageEndToEnd, MonoWavHeaderTellsTheBytesWritten)
{
    DiscImage image;
    image.AddAudioTrack(DiscImage::SinePcm(60, 1000));
    CdioRipLibrary lib({image.WriteTo(dir.path())});
    TCDRIP rip(lib);
    rip.SetOutputFormat(MONO22050);
    rip.SetFileFormat(FileFormat::Wav);

    rip.RipTrack(1, out("mono.wav"));
    const QByteArray wav = readAll(out("mono.wav"));
    EXPECT_EQ(wav.size(), 44 + 60 * 588);
    // A sine on both channels: the mono average of equal channels is the left
    // channel, halved in rate by averaging pairs of frames.
    const QByteArray& pcm = image.TrackAt(1).pcm;
    QByteArray expected;
    for (int frame = 0; frame + 1 < pcm.size() / 4; frame += 2) {
        const int a = qFromLittleEndian<int16_t>(pcm.constData() + 4 * frame);
        const int b = qFromLittleEndian<int16_t>(pcm.constData() + 4 * frame + 4);
        const int sum = a + b;
        const auto avg = static_cast<int16_t>(sum >= 0 ? sum / 2 : -((-sum + 1) / 2));
        char le[2];
        qToLittleEndian(avg, le);
        expected.append(le, 2);
    }
    expectWav(wav, 1, 22050, expected);
}

TEST_F(RipImageEndToEnd, JitterFixupsReachTheJitterLogAndTheAudioStaysExact)
{
    DiscImage image;
    image.AddAudioTrack(DiscImage::NoisePcm(250, 301)).AddAudioTrack(DiscImage::NoisePcm(250, 302));
    CdioRipLibrary lib({image.WriteTo(dir.path())});
    lib.SetSimulatedReadFaults(CdioRipLibrary::SimulatedSmallJitter);
    TCDRIP rip(lib);

    rip.RipTrack(2, out("02 - Titre.pcm"));
    EXPECT_TRUE(readAll(out("02 - Titre.pcm")) == image.TrackAt(2).pcm);
    EXPECT_GT(rip.JitterErrors, 0);
    ASSERT_FALSE(rip.JitterPositions.isEmpty());
    const QByteArray log = readAll(out("02 - Titrejitt"));
    EXPECT_EQ(log, (rip.JitterPositions.join("\r\n") + "\r\n").toUtf8());
    for (const QString& line : rip.JitterPositions) {
        const QStringList parts = line.split(' ');
        ASSERT_EQ(parts.size(), 2) << line.toStdString();
        EXPECT_LE(parts[0].toUInt(), parts[1].toUInt());
        EXPECT_LE(parts[1].toUInt(), static_cast<uint>(250 * DiscImage::SectorBytes));
    }
}
