#include "app/cli/RipCommandLine.h"
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("calvenor-rip"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    RipCommandLine cli(out, err);
    const int code = cli.Run(QCoreApplication::arguments().mid(1));
    // The last notes before the results, whose paths end the output.
    err.flush();
    out.flush();
    return code;
}
