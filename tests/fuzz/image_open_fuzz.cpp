// A disc image opened and its table of contents read, with what its sheet
// adds. The first byte picks the file's extension; a small .bin of the same
// base name lies beside it, as a cue sheet or a cdrdao sheet would name it.
#include "FuzzFile.h"
#include "platform/CalvenorError.h"
#include "platform/CdioDisc.h"
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const extensions[] = {"cue", "toc", "nrg", "img"};
    static const QString bin = [] {
        const std::vector<uint8_t> sectors(2352 * 20, 0x11);
        return FuzzFile::Write(QStringLiteral("disc.bin"), sectors.data(), sectors.size());
    }();
    if (size == 0 || bin.isEmpty())
        return 0;
    const QString name = QStringLiteral("disc.") + QLatin1String(extensions[data[0] % 4]);
    const QString path = FuzzFile::Write(name, data + 1, size - 1);
    try {
        CdioDisc(path).Record();
    } catch (const CalvenorError&) {
    }
    return 0;
}
