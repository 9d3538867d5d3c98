#pragma once
#include <QByteArray>
#include <QString>

// A file written whole or not at all.
class WholeFile {
public:
    // Written out of sight beside path, every write checked and flushed to
    // the disk, then named over path in one step: a failed save (a full disk,
    // say) leaves the earlier file as it was and nothing of the new one.
    // Raises FileError with a French text naming path.
    static void Write(const QString& path, const QByteArray& bytes);
};
