#include "platform/RecordingCode.h"
#include <gtest/gtest.h>

TEST(RecordingCode, ACatalogueNumberIsThirteenDigitsAndNotTheDrivesZeros)
{
    const struct {
        const char* written;
        const char* read;
    } cases[] = {
        {"0000010271955", "0000010271955"}, {"\"0000010271955\"", "0000010271955"},
        {"0000000000000", ""},              {"167890123", ""},
        {"123456789b123", ""},              {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecordingCode::Mcn(c.written), c.read) << c.written;
}
