#pragma once
#include <QJsonObject>
#include <QString>
#include <QStringList>

class DiscImage;

// A Python reference of tests/rip run on a disc image written at cue:
// "script IMAGE.bin a|d:FIRST:LAST... --leadout SECTOR [more...]"; its JSON answer.
class ReferenceScript {
public:
    static QJsonObject Run(const QString& script, const DiscImage& image, const QString& cue,
                           const QStringList& more = {});
};
