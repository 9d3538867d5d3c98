// The xmcd record of a CDDB read: status line, keywords, continuation lines.
#include "FixedAnswerHttp.h"
#include "cddb/TCDDBConnect.h"
#include "platform/CalvenorError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FixedAnswerHttp http(data, size);
    PlatformServices services;
    services.http = &http;
    TCDDBConnect cddb(services);
    try {
        cddb.ReadEntry(QStringLiteral("210 rock 0c01ac02 Artiste / Album"));
        QStringList titles;
        cddb.GetTitles(titles);
        cddb.GetArtist();
        cddb.GetAlbum();
        cddb.GetCategory();
    } catch (const CalvenorError&) {
    }
    return 0;
}
