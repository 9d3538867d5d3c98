#pragma once
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <memory>

// What a converter reader reads from: a file, or bytes in memory standing in
// for one (tests, fuzzing).
class SourceDevice {
public:
    // Raises FileError when the file cannot be opened.
    static std::unique_ptr<QIODevice> Open(const QString& path);
    static std::unique_ptr<QIODevice> Over(const QByteArray& bytes);
};
