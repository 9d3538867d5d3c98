// A file's ID3v1 trailer: read, rewritten with one field changed, removed.
#include "FuzzFile.h"
#include "platform/CalvenorError.h"
#include "tags/TMP3Info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = FuzzFile::Write(QStringLiteral("tagged.mp3"), data, size);
    try {
        TMP3Info info;
        info.SetFilename(path);
        if (!info.Valid())
            return 0;
        info.SetTitle(info.Title() + info.Artist());
        info.SetGenreID(info.GenreID());
        info.Save();
        info.RemoveID3();
    } catch (const CalvenorError&) {
    }
    return 0;
}
