#pragma once
#include <QString>
#include <QStringList>

// calvenor-rip run in this process over a drive whose chosen sectors fail
// (FailingDrive).
struct InProcessRip {
    int code = -1;
    QString out;
    QString err;

    // failFrom: the first of 3 sectors the drive cannot read; −1: none.
    static InProcessRip Run(const QStringList& arguments, int failFrom = -1);
};
