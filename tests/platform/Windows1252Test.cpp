#include "platform/Windows1252.h"
#include <gtest/gtest.h>

TEST(Windows1252, DecodesUtf8OnlyWhenTheWholeTextIsValidUtf8)
{
    struct Case {
        QByteArray bytes;
        QString text;
        bool windows1252;
    };
    const Case cases[] = {
        {"caf\xC3\xA9\r\n", QString::fromUtf8("café\r\n"), false},
        {"C\x9C" "ur \x80", QString::fromUtf8("Cœur €"), true},
        // A last line without an end whose final byte looks like the start of a sequence.
        {"caf\xE9", QString::fromUtf8("café"), true},
    };
    for (const Case& c : cases) {
        bool windows1252 = !c.windows1252;
        EXPECT_EQ(Windows1252::DecodeUtf8OrWindows1252(c.bytes, &windows1252), c.text);
        EXPECT_EQ(windows1252, c.windows1252);
    }
}
