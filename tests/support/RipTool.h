#pragma once
#include <QString>
#include <QStringList>

// One run of the built calvenor-rip tool.
struct RipTool {
    int exitCode = -1;
    QString out;
    QString err;

    static RipTool Run(const QStringList& arguments);
};
