// A FLAC file as the converter reads it: metadata, frames, the length and
// MD5 STREAMINFO announces.
#include "encode/SourceDevice.h"
#include "platform/CalvenorError.h"
#include "platform/FlacDecoder.h"
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        FlacDecoder flac(SourceDevice::Over(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))),
                         QStringLiteral("source.flac"));
        std::vector<int32_t> pcm;
        while (flac.Read(pcm))
            pcm.clear();
    } catch (const CalvenorError&) {
    }
    return 0;
}
