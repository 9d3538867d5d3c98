#pragma once
#include <QByteArray>
#include <QString>

// A file written whole or not at all.
class WholeFile {
public:
    // Written aside and renamed over path: a failed save never leaves half a
    // file. Raises FileError with a French text.
    static void Write(const QString& path, const QByteArray& bytes);
};
