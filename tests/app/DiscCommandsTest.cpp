#include "app/cli/DiscCommands.h"
#include "disc/DiscToc.h"
#include <gtest/gtest.h>

// A disc that starts at track 2, with a pregap, flags, an ISRC, a data
// track and a catalogue number: each line keeps the disc's own number.
TEST(DiscCommands, TocLinesKeepTheDiscsNumbersAndTellWhatTheDiscHas)
{
    TocTrack first;
    first.number = 2;
    first.length = 300;
    first.preEmphasis = true;
    first.copyPermitted = true;
    first.isrc = "FRZ039800212";
    TocTrack second;
    second.number = 3;
    second.start = 300;
    second.length = 200;
    second.pregap = 250;
    second.indexes = {400};
    TocTrack data;
    data.number = 4;
    data.start = 500;
    data.length = 100;
    data.audio = false;
    QString text;
    QTextStream out(&text);
    DiscCommands(DiscToc({first, second, data}, 600, "0724384960650"), out).PrintToc();
    out.flush();
    EXPECT_EQ(text, "Track02 Audio 0 299 00:00.00 00:04.00 flags=PRE,DCP isrc=FRZ039800212\n"
                    "Track03 Audio 300 499 00:04.00 00:02.50 index00=250 index02=400\n"
                    "Track04 Data 500 599 00:06.50 00:01.25\n"
                    "mcn=0724384960650\n");
}
