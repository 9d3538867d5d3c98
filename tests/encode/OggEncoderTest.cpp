#include "encode/LibraryTrackEncoder.h"
#include "encode/RipOutput.h"
#include "platform/OpusEncoder.h"
#include "platform/VorbisEncoder.h"
#include "support/PcmCompare.h"
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {
struct Case {
    const char* name;
    const char* extension;
    int frames;
    int sampleRate;
    int channels;
    // Bytes handed to the encoder at a time: cut inside sample frames.
    int chunk;
};

class OggEncoder : public ::testing::Test {
protected:
    // The file of these tones, given to the encoder the way a rip does.
    QString encode(const Case& c, const QString& name)
    {
        const QString path = dir.filePath(name + QLatin1String(c.extension));
        const QByteArray pcm = PcmCompare::Tones(c.frames, c.sampleRate, c.channels);
        RipOutput output(path);
        std::unique_ptr<ITrackEncoder> encoder = makeEncoder(c, output);
        for (int at = 0; at < pcm.size(); at += c.chunk)
            encoder->Consume(reinterpret_cast<const uint8_t*>(pcm.constData()) + at,
                             int(std::min<qsizetype>(c.chunk, pcm.size() - at)));
        encoder->Finish();
        output.Commit();
        return path;
    }
    static std::unique_ptr<ITrackEncoder> makeEncoder(const Case& c, RipOutput& output)
    {
        if (QLatin1String(c.extension) == QLatin1String(".opus"))
            return std::make_unique<LibraryTrackEncoder<OpusEncoder>>(output, c.channels, c.sampleRate,
                                                                      OpusEncoder::DefaultKbps);
        return std::make_unique<LibraryTrackEncoder<VorbisEncoder>>(output, c.channels, c.sampleRate,
                                                                    VorbisEncoder::DefaultQuality);
    }
    // Sample frames of the file as the reference decoder gives them, at the source's rate; -1 on failure.
    int decodedFrames(const Case& c, const QString& path)
    {
        const QString wav = path + QLatin1String(".wav");
        QProcess p;
        if (QLatin1String(c.extension) == QLatin1String(".opus"))
            p.start(QStringLiteral("opusdec"),
                    {QStringLiteral("--quiet"), QStringLiteral("--rate"), QString::number(c.sampleRate), path, wav});
        else
            p.start(QStringLiteral("oggdec"), {QStringLiteral("--quiet"), QStringLiteral("-o"), wav, path});
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return -1;
        QFile f(wav);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray bytes = f.readAll();
        const int data = bytes.indexOf("data");
        return data < 0 ? -1 : int(bytes.size() - data - 8) / (2 * c.channels);
    }
    QTemporaryDir dir;
};

const Case Cases[] = {
    {"OpusTrack", ".opus", 44100 * 3 + 588 * 7 + 13, 44100, 2, 2352},
    {"OpusOddCuts", ".opus", 10007, 44100, 2, 1001},
    {"OpusMono22k", ".opus", 22050 + 5, 22050, 1, 777},
    {"OpusShort", ".opus", 100, 44100, 2, 2352},
    {"VorbisTrack", ".ogg", 44100 * 3 + 588 * 7 + 13, 44100, 2, 2352},
    {"VorbisOddCuts", ".ogg", 10007, 44100, 2, 1001},
    {"VorbisMono22k", ".ogg", 22050 + 5, 22050, 1, 777},
    {"VorbisShort", ".ogg", 100, 44100, 2, 2352},
};
} // namespace

TEST_F(OggEncoder, DecodesToExactlyItsSamplesAndTheSameBytesEachTime)
{
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.name);
        const QString first = encode(c, QStringLiteral("a"));
        EXPECT_EQ(decodedFrames(c, first), c.frames);
        QFile a(first), b(encode(c, QStringLiteral("b")));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_TRUE(a.readAll() == b.readAll());
    }
}
