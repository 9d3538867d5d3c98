#include "support/SoxTool.h"
#include "support/ToolRun.h"

bool SoxTool::Tone(const QString& wav, int rate, int bits, int channels, double seconds)
{
    // -D: no dither, the same samples on every run.
    return ToolRun::Output("sox", {"-D", "-n", "-r", QString::number(rate), "-b", QString::number(bits), "-c",
                                   QString::number(channels), wav, "synth", QString::number(seconds), "sine", "440",
                                   "gain", "-3"})
        .has_value();
}

std::optional<QByteArray> SoxTool::Raw(const QString& file)
{
    return ToolRun::Output("sox", {"-D", file, "-t", "raw", "-e", "signed-integer", "-L", "-"});
}

QString SoxTool::Info(const QString& file, const char* what)
{
    return QString::fromLatin1(ToolRun::Output("sox", {"--i", what, file}).value_or(QByteArray())).trimmed();
}
