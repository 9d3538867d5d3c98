#include "encode/TLameCoder.h"
#include "support/FakeEncoderLibrary.h"
#include <gtest/gtest.h>
#include <functional>

namespace {
QByteArray le32(int32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char(uint32_t(v) >> (8 * i));
    return b;
}

// The record of an encoder with every default, as listed field by field.
QByteArray defaultRecord()
{
    QByteArray r;
    for (int32_t v : {256, 1, 331, 44100, 0, 0, 128, 320, 0, 1, 0, 0, 0, -1, 0, 0, 0, 0, 4})
        r += le32(v);
    return r + QByteArray(255, '\0');
}

QByteArray recordHandedOver(TLameCoder& coder, FakeEncoderLibrary& lib)
{
    coder.InitStream();
    return lib.lastConfig;
}
} // namespace

TEST(TLameCoder, DefaultRecordCarriesTheListedValues)
{
    FakeEncoderLibrary lib;
    TLameCoder coder(lib);
    const QByteArray record = recordHandedOver(coder, lib);
    ASSERT_EQ(record.size(), 331);
    EXPECT_EQ(record, defaultRecord());
}

TEST(TLameCoder, EachSettingMovesOnlyItsOwnField)
{
    struct Case {
        const char* name;
        std::function<void(TLameCoder&)> set;
        int offset;
        int32_t value;
    };
    const Case cases[] = {
        {"SampleRate", [](TLameCoder& c) { c.SetSampleRate(22050); }, 12, 22050},
        {"Mode", [](TLameCoder& c) { c.SetMode(DUALCHANNEL); }, 20, 2},
        {"Bitrate", [](TLameCoder& c) { c.SetBitrate(96); }, 24, 96},
        {"MaxBitrate", [](TLameCoder& c) { c.SetMaxBitrate(160); }, 28, 160},
        {"Quality", [](TLameCoder& c) { c.SetQuality(VOICE_QUALITY); }, 32, 3},
        {"Private", [](TLameCoder& c) { c.SetPrivate(LAME_TRUE); }, 48, -1},
        {"CRC", [](TLameCoder& c) { c.SetCRC(LAME_FALSE); }, 52, 0},
        {"Copyright", [](TLameCoder& c) { c.SetCopyright(LAME_TRUE); }, 56, -1},
        {"Original", [](TLameCoder& c) { c.SetOriginal(LAME_TRUE); }, 60, -1},
        {"WriteVBRHeader", [](TLameCoder& c) { c.SetWriteVBRHeader(LAME_TRUE); }, 64, -1},
        {"VBRQuality", [](TLameCoder& c) { c.SetVBRQuality(9); }, 72, 9},
    };
    for (const Case& k : cases) {
        FakeEncoderLibrary lib;
        TLameCoder coder(lib);
        k.set(coder);
        QByteArray expected = defaultRecord();
        expected.replace(k.offset, 4, le32(k.value));
        EXPECT_EQ(recordHandedOver(coder, lib), expected) << k.name;
    }
}

TEST(TLameCoder, EnableVbrDrivesTheVbrHeader)
{
    FakeEncoderLibrary lib;
    TLameCoder coder(lib);
    coder.SetEnableVBR(LAME_TRUE);
    EXPECT_EQ(coder.EnableVBR(), LAME_TRUE);
    EXPECT_EQ(coder.WriteVBRHeader(), LAME_TRUE);
    QByteArray expected = defaultRecord();
    expected.replace(64, 8, le32(-1) + le32(-1));
    EXPECT_EQ(recordHandedOver(coder, lib), expected);

    coder.SetWriteVBRHeader(LAME_FALSE); // the header can be set on its own afterwards
    EXPECT_EQ(coder.EnableVBR(), LAME_TRUE);
    coder.SetWriteVBRHeader(LAME_TRUE);
    coder.SetEnableVBR(LAME_FALSE);
    EXPECT_EQ(coder.WriteVBRHeader(), LAME_FALSE);
    EXPECT_EQ(recordHandedOver(coder, lib), defaultRecord());
}

TEST(TLameCoder, InputFilesGiveOutputNamesWithTheDefaultExtension)
{
    FakeEncoderLibrary lib;
    TLameCoder coder(lib);
    coder.SetOutputFiles({"stale.mp3"});
    coder.SetInputFiles({"/music/01 - Titre.wav", "/music.d/02 - Sans extension"});
    EXPECT_EQ(coder.InputFiles(), QStringList({"/music/01 - Titre.wav", "/music.d/02 - Sans extension"}));
    EXPECT_EQ(coder.OutputFiles(), QStringList({"/music/01 - Titre.mp3", "/music.d/02 - Sans extension.mp3"}));

    coder.SetDefaultExt(".wav");
    coder.SetInputFiles({"a.b.mp3"});
    EXPECT_EQ(coder.OutputFiles(), QStringList({"a.b.wav"}));
}

TEST(TLameCoder, VersionIsTheRecordsFirstFourBytesReadOncePerComponent)
{
    FakeEncoderLibrary lib;
    TLameCoder coder(lib);
    EXPECT_EQ(lib.versions, 1);
    const TLameVersion& v = coder.LameVersion();
    EXPECT_EQ(v.DLLMajorVersion(), 1);
    EXPECT_EQ(v.DLLMinorVersion(), 32);
    EXPECT_EQ(v.MajorVersion(), 3);
    EXPECT_EQ(v.MinorVersion(), 100);
}

TEST(TLameCoder, AssignCopiesTheSettingsButNotTheListsAndRestoreDefaultsUndoesThem)
{
    FakeEncoderLibrary lib;
    TLameCoder from(lib), to(lib);
    from.SetBitrate(256);
    from.SetQuality(HIGH_QUALITY);
    from.SetEnableVBR(LAME_TRUE);
    from.SetVBRQuality(1);
    from.SetCRC(LAME_FALSE);
    from.SetMode(MONO);
    from.SetInputFiles({"x.wav"});
    from.SetDefaultExt(".ogg");
    to.Assign(from);
    EXPECT_EQ(to.ConfigRecord(), from.ConfigRecord());
    EXPECT_TRUE(to.InputFiles().isEmpty());
    EXPECT_EQ(to.DefaultExt(), ".mp3");

    from.RestoreDefaults();
    EXPECT_EQ(recordHandedOver(from, lib), defaultRecord());
    EXPECT_EQ(from.DefaultExt(), ".ogg") << "only the settings";
}

TEST(TLameCoder, StreamOperationsPassTheLibrarysSizesAndResults)
{
    FakeEncoderLibrary lib;
    lib.samplesPerChunk = 2304;
    lib.outputBufferSize = 10080;
    TLameCoder coder(lib);
    ASSERT_EQ(coder.InitStream(), 0u);
    EXPECT_EQ(coder.SamplesPerChunk(), 2304u);
    EXPECT_EQ(coder.OutputBufferSize(), 10080u);

    std::vector<int16_t> pcm(2304, 5);
    std::vector<uint8_t> out(coder.OutputBufferSize());
    uint32_t length = 99;
    coder.EncodeChunk(pcm.data(), out.data(), &length);
    ASSERT_EQ(lib.chunks.size(), 1);
    EXPECT_EQ(lib.chunks[0].size(), 4608) << "a stereo chunk of 2304 samples is 4608 bytes";
    EXPECT_EQ(length, lib.bytesPerChunk);

    lib.infoTag = "TAGFRAME";
    coder.DeinitStream(out.data(), &length);
    EXPECT_EQ(length, lib.flushBytes);
    coder.InfoTag(out.data(), &length);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(out.data()), int(length)), "TAGFRAME");
    coder.CloseStream();
    EXPECT_EQ(lib.closes, 1);

    lib.initResult = 2;
    EXPECT_EQ(coder.InitStream(), 2u) << "library results come back unchanged";
}
