#pragma once
#include <QString>
#include <QStringList>

// The jitter log beside a ripped file: one line per jitter correction,
// "first last", in CRLF lines.
class JitterLog {
public:
    // The path without its extension (dot included) followed by "jitt".
    static QString PathBeside(const QString& ripped);
    // Raises a file error or ECDRIPError with a French text.
    static void Save(const QString& ripped, const QStringList& positions);
};
