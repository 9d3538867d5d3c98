// An existing playlist read, given one more line and written back.
#include "FuzzFile.h"
#include "platform/CalvenorError.h"
#include "rip/Playlist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = FuzzFile::Write(QStringLiteral("PlayList.M3u"), data, size);
    try {
        Playlist playlist;
        playlist.Load(path);
        playlist.Add(QStringLiteral("01 - Été - Piste 01.mp3"));
        playlist.Save(path);
    } catch (const CalvenorError&) {
    }
    return 0;
}
