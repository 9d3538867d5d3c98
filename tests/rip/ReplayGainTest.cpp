#include "app/cli/RipCommandLine.h"
#include "platform/CdioRipLibrary.h"
#include "platform/Ebur128Meter.h"
#include "rip/ReplayGain.h"
#include "support/DiscImage.h"
#include "support/DriveFaults.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <cmath>
#include <gtest/gtest.h>

namespace {
// Tags read by a reader that is not ours: mutagen, "NAME=value" per
// ReplayGain value, whatever the file's format (Vorbis comment names, which
// mutagen gives in lower case, are case-blind).
const char* ReaderScript = R"(
import sys, mutagen
tags = mutagen.File(sys.argv[1]).tags
for key in tags.keys():
    name = key[5:] if key.startswith('TXXX:') else key.upper()
    if name.startswith('REPLAYGAIN_'):
        value = tags[key]
        print('%s=%s' % (name, value.text[0] if hasattr(value, 'text') else value[0]))
)";

// EBU Tech 3341 gives its levels as dBFS of each channel's peak.
double amplitudeOf(double dbfs)
{
    return std::pow(10.0, dbfs / 20.0);
}

// 20 seconds of a stereo 1 kHz sine, as in EBU Tech 3341's first cases.
QByteArray sine(double dbfs, int seconds = 20)
{
    return DiscImage::SinePcm(75 * seconds, 1000, amplitudeOf(dbfs));
}

double gainValue(const QString& text)
{
    return QString(text).remove(QStringLiteral(" dB")).toDouble();
}

class ReplayGainTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // A track's result as the rip loop leaves it: the audio fed in chunks
    // that cut frames in two.
    static TrackRipResult measured(int number, const QByteArray& pcm)
    {
        auto meter = std::make_shared<Ebur128Meter>();
        for (int at = 0; at < pcm.size(); at += 1001)
            meter->Add(reinterpret_cast<const uint8_t*>(pcm.constData()) + at, qMin(1001, int(pcm.size()) - at));
        TrackRipResult track;
        track.TrackNum = number;
        track.Loudness = meter;
        return track;
    }

    // calvenor-rip's several-track rip of the image into folder; faults, when given, on the drive.
    static int rip(const QStringList& arguments, std::shared_ptr<DriveFaults> faults)
    {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        RipCommandLine cli(outStream, errStream, [faults](const QStringList& sources) {
            auto drive = std::make_unique<CdioRipLibrary>(sources);
            if (faults)
                drive->SetReadFilter(faults);
            return drive;
        });
        return cli.Run(arguments);
    }

    QMap<QString, QString> replayGainTags(const QString& path) const
    {
        QProcess reader;
        reader.start(QStringLiteral("/usr/bin/python3"), {"-c", ReaderScript, path});
        EXPECT_TRUE(reader.waitForFinished(60000) && reader.exitCode() == 0) << reader.readAllStandardError().data();
        QMap<QString, QString> tags;
        for (const QString& line : QString::fromUtf8(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
            tags.insert(line.section('=', 0, 0), line.section('=', 1));
        return tags;
    }

    QTemporaryDir dir;
};
} // namespace

TEST_F(ReplayGainTest, Ebu3341StereoSinesMeasureTheirLevel)
{
    const struct {
        double dbfs;
        double lufs;
        double gainDb;
    } cases[] = {{-23, -23.0, 5.0}, {-33, -33.0, 15.0}};
    for (const auto& c : cases) {
        const std::optional<ReplayGain::Loudness> loudness = ReplayGain::OfTrack(measured(1, sine(c.dbfs)));
        ASSERT_TRUE(loudness) << c.dbfs;
        EXPECT_NEAR(loudness->lufs, c.lufs, 0.1) << c.dbfs;
        EXPECT_NEAR(loudness->GainDb(), c.gainDb, 0.1) << c.dbfs;
        EXPECT_NEAR(loudness->peak, amplitudeOf(c.dbfs), 1e-4) << c.dbfs;
    }
    EXPECT_FALSE(ReplayGain::OfTrack(measured(1, QByteArray(75 * 2352, '\0')))) << "silence has no gain";
}

TEST_F(ReplayGainTest, AlbumLoudnessIsThatOfAllItsNumberedTracksTakenAsOne)
{
    // Both tracks pass the gates: their mean energy, 10·log10((10^-2.3 + 10^-3.3) / 2)
    // = -25.6 LUFS, where the mean of their loudness would be -28.
    const QList<TrackRipResult> tracks = {measured(0, sine(-3, 5)), measured(1, sine(-23)), measured(2, sine(-33))};
    const std::optional<ReplayGain::Loudness> album = ReplayGain::OfAlbum(tracks);
    ASSERT_TRUE(album);
    EXPECT_NEAR(album->lufs, 10 * std::log10((std::pow(10, -2.3) + std::pow(10, -3.3)) / 2), 0.1);
    EXPECT_NEAR(album->peak, amplitudeOf(-23), 1e-4) << "the hidden track counts in neither";

    QList<TrackRipResult> unmeasured = tracks;
    unmeasured[2].Loudness.reset();
    EXPECT_FALSE(ReplayGain::OfAlbum(unmeasured));
}

// The album's values only when every track of the run was read whole.
TEST_F(ReplayGainTest, RippedFilesCarryTheirReplayGainForAnotherReader)
{
    DiscImage image;
    image.AddAudioTrack(sine(-23, 8)).AddAudioTrack(sine(-33, 8));
    const QString cue = image.WriteTo(dir.path());
    const double albumGain = -18 - 10 * std::log10((std::pow(10, -2.3) + std::pow(10, -3.3)) / 2);
    const struct {
        const char* format;
        bool replayGain;
        bool damaged;
    } cases[] = {{"--mp3", true, false}, {"--flac", true, false}, {"--flac", false, false}, {"--mp3", true, true}};
    for (const auto& c : cases) {
        const QString folder = dir.filePath(QStringLiteral("%1-%2-%3").arg(c.format + 2).arg(c.replayGain).arg(c.damaged));
        QStringList arguments{"--drive", "x=" + cue, "x:", "--tracks", "1-2", "--dir", folder, c.format,
                              "--no-accuraterip", "--no-ctdb"};
        if (!c.replayGain)
            arguments << "--no-replaygain";
        auto faults = std::make_shared<DriveFaults>();
        if (c.damaged)
            faults->Add(DriveFaults::Kind::FailRead, image.TrackAt(2).firstSector + 300, 2);
        rip(arguments, faults);
        const QStringList files = QDir(folder).entryList({QStringLiteral("*.") + (c.format + 2)}, QDir::Files, QDir::Name);
        ASSERT_EQ(files.size(), 2) << c.format;
        const QString log = QString::fromUtf8(TestFiles::ReadAll(folder + QStringLiteral("/Rapport.log")));
        EXPECT_EQ(log.contains("ReplayGain de l'album : -25.6 LUFS"), c.replayGain && !c.damaged) << c.format;
        EXPECT_EQ(log.contains("  ReplayGain : -33.0 LUFS, gain +1"), c.replayGain)
            << log.toStdString();
        const double trackGains[] = {5.0, 15.0};
        for (int k = 0; k < 2; ++k) {
            const QMap<QString, QString> tags = replayGainTags(QDir(folder).filePath(files[k]));
            const int expected = !c.replayGain ? 0 : c.damaged ? 2 : 4;
            ASSERT_EQ(tags.size(), expected) << c.format << ' ' << k;
            if (!c.replayGain)
                continue;
            EXPECT_NEAR(gainValue(tags.value("REPLAYGAIN_TRACK_GAIN")), trackGains[k], 0.1) << c.format;
            EXPECT_TRUE(tags.value("REPLAYGAIN_TRACK_GAIN").endsWith(" dB")) << c.format;
            EXPECT_NEAR(tags.value("REPLAYGAIN_TRACK_PEAK").toDouble(), amplitudeOf(k == 0 ? -23 : -33), 1e-4);
            if (c.damaged)
                continue;
            EXPECT_NEAR(gainValue(tags.value("REPLAYGAIN_ALBUM_GAIN")), albumGain, 0.1) << c.format;
            EXPECT_NEAR(tags.value("REPLAYGAIN_ALBUM_PEAK").toDouble(), amplitudeOf(-23), 1e-4) << c.format;
        }
    }
}
