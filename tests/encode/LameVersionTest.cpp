#include "platform/LameEncoderLibrary.h"
#include <lame/lame.h>
#include <gtest/gtest.h>
#include <vector>

TEST(LameEncoderLibrary, VersionRecordCarriesLamesVersion)
{
    lame_version_t v{};
    get_lame_version_numerical(&v);
    LameEncoderLibrary lib;
    std::vector<uint8_t> record(BeVersionSize, 0xAB);
    lib.beVersion(record.data());
    EXPECT_EQ(record[0], LameEncoderLibrary::DllMajorVersion);
    EXPECT_EQ(record[1], LameEncoderLibrary::DllMinorVersion);
    EXPECT_EQ(record[2], v.major);
    EXPECT_EQ(record[3], v.minor);
    EXPECT_EQ(std::vector<uint8_t>(record.begin() + 4, record.end()), std::vector<uint8_t>(BeVersionSize - 4, 0));
}
