// A MusicBrainz disc identifier answer: releases, media, discs and tracks.
#include "cddb/MusicBrainzJson.h"
#include "platform/CalvenorError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        for (const AlbumRelease& release : MusicBrainzJson::Releases(
                 QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), QStringLiteral("0uz.Yq3HzR4jxdyIhHJJ86dlWHA-"), 2))
            release.ChoiceLine();
    } catch (const CalvenorError&) {
    }
    return 0;
}
