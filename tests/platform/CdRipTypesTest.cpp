#include "platform/CdRipTypes.h"
#include <gtest/gtest.h>

TEST(CdRipTypes, OutputFormatLayouts)
{
    EXPECT_EQ(layoutOf(STEREO44100).channels, 2);
    EXPECT_EQ(layoutOf(MONO22050).channels, 1);
    EXPECT_EQ(layoutOf(MONO22050).sampleRate, 22050);
    EXPECT_EQ(layoutOf(STEREO11025).sampleRate, 11025);
}

TEST(CdRipTypes, UnalignedOutputFormatField)
{
    TCDRomParams p;
    p.set32(TCDRomParams::OutputFormatOffset, MONO44100);
    EXPECT_EQ(p.bytes[327], 1);
    EXPECT_EQ(p.bytes[328], 0);
    EXPECT_EQ(p.get32(TCDRomParams::OutputFormatOffset), 1);
}
