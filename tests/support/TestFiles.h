#pragma once
#include <QByteArray>
#include <QString>

// Whole-file reads and writes for tests.
class TestFiles {
public:
    // The file's bytes; empty when it cannot be read.
    static QByteArray ReadAll(const QString& path);
    // Creates or replaces the file; false when it cannot be written.
    static bool Write(const QString& path, const QByteArray& bytes);
};
