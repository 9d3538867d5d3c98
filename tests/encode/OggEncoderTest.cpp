#include "encode/LibraryTrackEncoder.h"
#include "encode/RipOutput.h"
#include "platform/Ebur128Meter.h"
#include "platform/OggTag.h"
#include "platform/OpusEncoder.h"
#include "platform/VorbisEncoder.h"
#include "support/Mutagen.h"
#include "support/OggTool.h"
#include "support/PcmCompare.h"
#include "tags/FileTagStore.h"
#include <QFile>
#include <QJsonObject>
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
    static int decodedFrames(const Case& c, const QString& path)
    {
        return OggTool::DecodedFrames(path, c.sampleRate, c.channels);
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

// A Vorbis comment reader that is not ours: mutagen, the cover decoded from
// its METADATA_BLOCK_PICTURE.
const char* ReaderScript = R"(
import base64, json, sys
from mutagen import File
from mutagen.flac import Picture
f = File(sys.argv[1])
t = f.tags
out = {'kind': type(f).__name__}
for key in ('title', 'artist', 'album', 'tracknumber', 'musicbrainz_trackid', 'replaygain_track_gain',
            'r128_track_gain', 'r128_album_gain'):
    out[key] = t.get(key, [''])[0]
pictures = t.get('metadata_block_picture', [])
if pictures:
    p = Picture(base64.b64decode(pictures[0]))
    out['cover'] = base64.b64encode(p.data).decode()
    out['mime'] = p.mime
    out['pictureType'] = int(p.type)
print(json.dumps(out))
)";

TagFields Tags(double loudness)
{
    TagFields f;
    f.title = QStringLiteral("Ça déménage à Noël");
    f.artist = QStringLiteral("Zoé");
    f.album = QStringLiteral("Été");
    f.track = 3;
    f.musicBrainz.recording = QStringLiteral("4f3c2b1a-0000-4000-8000-000000000001");
    f.frontCover = QByteArray("\x89PNG\r\n\x1a\n couverture", 20);
    f.frontCoverMime = QStringLiteral("image/png");
    // ReplayGain 2.0 aims at -18 LUFS.
    f.replayGain.measured = f.replayGain.albumMeasured = true;
    f.replayGain.trackGainDb = -18 - loudness;
    f.replayGain.albumGainDb = -18 - loudness - 1.5;
    f.replayGain.trackPeak = f.replayGain.albumPeak = 0.5;
    return f;
}
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

TEST_F(OggEncoder, MutagenReadsTheTagsTheCoverAndTheGainAsWritten)
{
    for (const Case& c : {Cases[0], Cases[4]}) {
        SCOPED_TRACE(c.name);
        const QString path = encode(c, QStringLiteral("tagged"));
        Ebur128Meter meter;
        const QByteArray pcm = PcmCompare::Tones(c.frames, c.sampleRate, c.channels);
        meter.Add(reinterpret_cast<const uint8_t*>(pcm.constData()), pcm.size());
        const TagFields written = Tags(meter.Loudness());
        FileTagStore store;
        store.Write(path, path, written);

        const QJsonObject tag = Mutagen::Run(ReaderScript, path);
        ASSERT_FALSE(tag.contains("failure")) << tag.value("failure").toString().toStdString();
        const bool opus = OggTag::IsOpus(path);
        EXPECT_EQ(tag.value("kind").toString(), opus ? "OggOpus" : "OggVorbis");
        EXPECT_EQ(tag.value("title").toString(), written.title);
        EXPECT_EQ(tag.value("artist").toString(), written.artist);
        EXPECT_EQ(tag.value("tracknumber").toString(), "3");
        EXPECT_EQ(tag.value("musicbrainz_trackid").toString(), written.musicBrainz.recording);
        EXPECT_EQ(QByteArray::fromBase64(tag.value("cover").toString().toLatin1()), written.frontCover);
        EXPECT_EQ(tag.value("mime").toString(), "image/png");
        EXPECT_EQ(tag.value("pictureType").toInt(), 3);
        // Opus: Q7.8 relative to -23 LUFS, against libebur128's measure; Vorbis: ReplayGain as FLAC.
        const double r128 = (-23 - meter.Loudness()) * 256;
        if (opus) {
            EXPECT_NEAR(tag.value("r128_track_gain").toString().toInt(), r128, 0.5);
            EXPECT_NEAR(tag.value("r128_album_gain").toString().toInt(), r128 - 1.5 * 256, 0.5);
            EXPECT_EQ(tag.value("replaygain_track_gain").toString(), "");
        } else {
            EXPECT_EQ(tag.value("replaygain_track_gain").toString(),
                      QString::number(written.replayGain.trackGainDb, 'f', 2) + " dB");
            EXPECT_EQ(tag.value("r128_track_gain").toString(), "");
        }
        // Our own reader finds them again, and the audio is still whole.
        TagFields read;
        ASSERT_TRUE(store.Read(path, read));
        EXPECT_EQ(read.title, written.title);
        EXPECT_EQ(read.frontCover, written.frontCover);
        EXPECT_NEAR(read.replayGain.trackGainDb, written.replayGain.trackGainDb, 0.01);
        EXPECT_EQ(decodedFrames(c, path), c.frames);
    }
}
