#pragma once
#include <QJsonObject>
#include <QString>

// A tag reader that is not ours: a Python script using mutagen, run by the
// system's Python (where mutagen is installed) on one file.
class Mutagen {
public:
    // The script's JSON answer; {"failure": its error output} when it fails.
    static QJsonObject Run(const char* script, const QString& path);
};
