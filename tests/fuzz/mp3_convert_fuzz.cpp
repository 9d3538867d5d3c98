// An MP3 file as the converter reads it: tags skipped, frames decoded, the
// LAME tag's delay and padding cut.
#include "encode/Mp3Source.h"
#include "platform/CalvenorError.h"
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        Mp3Source mp3(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), QStringLiteral("source.mp3"));
        std::vector<int16_t> pcm;
        while (mp3.Read(pcm))
            pcm.clear();
    } catch (const CalvenorError&) {
    }
    return 0;
}
