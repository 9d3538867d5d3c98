#include "encode/TLameCoder.h"
#include "platform/LameEncoderLibrary.h"
#include "platform/Mp3Decoder.h"
#include "support/PcmCompare.h"
#include <gtest/gtest.h>

TEST(Mp3Decoder, ReadsTheVbrHeaderAndDecodesInPiecesOfAnySize)
{
    LameEncoderLibrary lib;
    TLameCoder coder(lib);
    coder.SetEnableVBR(LAME_TRUE);
    ASSERT_EQ(coder.InitStream(), 0u);
    const QByteArray pcm = PcmCompare::Tones(int(coder.SamplesPerChunk() / 2) * 20, 44100, 2);
    std::vector<uint8_t> out(coder.OutputBufferSize());
    QByteArray mp3;
    uint32_t length = 0;
    for (int at = 0; at < pcm.size(); at += int(coder.SamplesPerChunk()) * 2) {
        coder.EncodeChunk(reinterpret_cast<const int16_t*>(pcm.constData() + at), out.data(), &length);
        mp3.append(reinterpret_cast<const char*>(out.data()), int(length));
    }
    coder.DeinitStream(out.data(), &length);
    mp3.append(reinterpret_cast<const char*>(out.data()), int(length));
    coder.InfoTag(out.data(), &length);
    mp3.replace(0, length, QByteArray(reinterpret_cast<const char*>(out.data()), length));
    coder.CloseStream();

    // Whole, in large pieces, and in pieces that cut frames anywhere.
    for (int piece : {int(mp3.size()), 16384, 333}) {
        Mp3Decoder decoder;
        std::vector<int16_t> decoded;
        for (int at = 0; at < mp3.size(); at += piece)
            ASSERT_TRUE(decoder.Decode(reinterpret_cast<const uint8_t*>(mp3.constData()) + at,
                                       size_t(qMin(piece, int(mp3.size()) - at)), decoded));
        decoder.Decode(nullptr, 0, decoded);
        EXPECT_EQ(decoder.Channels(), 2);
        EXPECT_EQ(decoder.SampleRate(), 44100);
        EXPECT_EQ(decoder.EncoderDelay(), 576);
        ASSERT_GT(decoder.HeaderFrameCount(), 0);
        EXPECT_EQ(int(decoded.size()) / 2, decoder.HeaderFrameCount() * 1152)
            << "the header frame itself is not played; piece " << piece;
        EXPECT_EQ(int(decoded.size()) / 2, 576 + 20 * 1152 + decoder.EncoderPadding());
    }
}
