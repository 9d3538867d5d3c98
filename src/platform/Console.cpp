#include "platform/Console.h"
#include <QFile>
#include <QTextStream>
#include <unistd.h>

bool Console::IsTerminal(const QTextStream& stream)
{
    // A stream over a string or a buffer has no descriptor at all.
    const auto* file = qobject_cast<const QFile*>(stream.device());
    return file && file->handle() >= 0 && ::isatty(file->handle()) == 1;
}
