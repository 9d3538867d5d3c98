#include "app/RememberedChoices.h"
#include "encode/TLameCoder.h"
#include "platform/Settings.h"
#include "support/FakeEncoderLibrary.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Choices kept in one run come back in the next only while the user wants
// them: turned off, the kept ones stay unused.
TEST(RememberedChoices, ComeBackOnlyWhenTheUserAsked)
{
    for (const bool remember : {true, false}) {
        SCOPED_TRACE(remember);
        QTemporaryDir dir;
        const QString path = dir.filePath("Calvenor.conf");
        FakeEncoderLibrary library;
        TLameCoder chosen(library);
        chosen.SetSampleRate(48000);
        chosen.SetBitrate(192);
        chosen.SetMaxBitrate(256);
        chosen.SetMode(MONO);
        chosen.SetQuality(HIGH_QUALITY);
        chosen.SetEnableVBR(LAME_TRUE);
        chosen.SetWriteVBRHeader(LAME_FALSE); // set after VBR, which turns it on
        chosen.SetVBRQuality(2);
        chosen.SetCRC(LAME_FALSE);
        chosen.SetOriginal(LAME_TRUE);
        {
            Settings settings(path);
            settings.SetRememberChoices(true);
            RememberedChoices(settings).Save({false, "/données/musique/"}, chosen);
            settings.SetRememberChoices(remember);
        }
        Settings nextRun(path);
        TLameCoder next(library);
        const auto restored = RememberedChoices(nextRun).Restore(next);
        ASSERT_EQ(restored.has_value(), remember);
        if (!remember) {
            EXPECT_EQ(next.ConfigRecord(), TLameCoder(library).ConfigRecord());
            continue;
        }
        EXPECT_FALSE(restored->mp3);
        EXPECT_EQ(restored->folder, "/données/musique/");
        EXPECT_EQ(next.ConfigRecord(), chosen.ConfigRecord());
    }
}
