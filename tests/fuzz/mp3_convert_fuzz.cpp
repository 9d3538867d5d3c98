// An MP3 file converted to WAV: the decoder and the checks around it.
#include "FuzzFile.h"
#include "encode/AudioFileConverter.h"
#include "encode/TLameCoder.h"
#include "platform/CalvenorError.h"
#include "platform/LameEncoderLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static LameEncoderLibrary library;
    static TLameCoder coder(library);
    const QString source = FuzzFile::Write(QStringLiteral("source.mp3"), data, size);
    try {
        AudioFileConverter(coder).Mp3ToWav(source, FuzzFile::Path(QStringLiteral("target.wav")));
    } catch (const CalvenorError&) {
    }
    return 0;
}
