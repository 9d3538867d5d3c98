// A WAV file as the converter opens it: the header checks and every read.
#include "encode/WavReader.h"
#include "platform/CalvenorError.h"
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        WavReader wav(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), QStringLiteral("source.wav"));
        std::vector<uint8_t> buffer(4096);
        while (wav.Read(buffer.data(), int64_t(buffer.size())) > 0) {
        }
    } catch (const CalvenorError&) {
    }
    return 0;
}
