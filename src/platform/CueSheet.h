#pragma once
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <cstdint>

// libcdio reads a cue sheet with the .bin of the cue's own base name beside
// it and ignores the sheet's FILE line.
class CueSheet {
public:
    static bool IsCue(const QString& path);
    // The sheet's lines; none when it cannot be read.
    static QList<QByteArray> Lines(const QString& path);
    // The .bin libcdio opens for the cue sheet at path.
    static QString BinBeside(const QString& path);
    // For a cue sheet that exists without its .bin: the French text that
    // says why it cannot be read. Empty otherwise.
    static QString MissingBinText(const QString& path);
    // INDEX 02, 03, ... of each track by its number, in sectors from the
    // start of the .bin, as the sheet gives them (libcdio keeps none); a
    // track's list stops before the first index out of order. Empty when
    // the sheet cannot be read.
    static QMap<int, QList<int32_t>> Indexes(const QString& path);
};
