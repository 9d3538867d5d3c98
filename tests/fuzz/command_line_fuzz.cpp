// The arguments of calvenor-rip (one per input line), parsed and checked
// without touching a drive.
#include "app/cli/RipCommandLine.h"
#include "platform/CalvenorError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList arguments =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split('\n');
    QString discard;
    QTextStream out(&discard), err(&discard);
    try {
        RipCommandLine(out, err).Parse(arguments, false);
    } catch (const CalvenorError&) {
    }
    return 0;
}
