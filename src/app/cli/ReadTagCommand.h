#pragma once
#include <QString>
#include <QTextStream>

// calvenor-rip --read-tag: a file's tag values, one name=value line each.
class ReadTagCommand {
public:
    // Raises CalvenorError with the file and the reason when it cannot be read.
    static void Run(const QString& path, QTextStream& out);
};
