#include "support/InProcessRip.h"
#include "app/cli/RipCommandLine.h"
#include "support/FailingDrive.h"
#include <QTextStream>

InProcessRip InProcessRip::Run(const QStringList& arguments, int failFrom)
{
    InProcessRip result;
    QTextStream outStream(&result.out), errStream(&result.err);
    RipCommandLine cli(outStream, errStream, [failFrom](const QStringList& sources) {
        auto drive = std::make_unique<FailingDrive>(sources);
        if (failFrom >= 0)
            drive->FailSectors(failFrom, 3);
        return drive;
    });
    result.code = cli.Run(arguments);
    outStream.flush();
    errStream.flush();
    return result;
}
