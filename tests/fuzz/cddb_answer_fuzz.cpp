// A CDDB server's answer to a query: the status line, the match lines and the
// reads they lead to (the server gives the same bytes to every request).
#include "FixedAnswerHttp.h"
#include "cddb/FakeCdAudioDevice.h"
#include "cddb/TCDDBConnect.h"
#include "disc/DiscToc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr int MostMatches = 8;
    FakeCdAudioDevice device;
    device.tocs.insert(QStringLiteral("disc"), {{150, 20000, 41000}, 60000});
    const DiscToc toc = DiscToc::Read(device, QStringLiteral("disc"));
    FixedAnswerHttp http(data, size);
    PlatformServices services;
    services.http = &http;
    TCDDBConnect cddb(services);
    try {
        int code = 0;
        QString text;
        cddb.QueryDisc(toc, code, text);
        if (code == 210 || code == 211)
            for (const QString& match : TCDDBConnect::SplitLines(text).mid(1, MostMatches))
                cddb.ReadEntry(match);
    } catch (const CalvenorError&) {
    }
    return 0;
}
