#pragma once
#include <QString>
#include <cstddef>
#include <cstdint>

// Files of one fuzzing process, in a scratch folder (in memory when
// /dev/shm exists) removed when the process ends: most parsers read a path.
class FuzzFile {
public:
    // The path of `name` in the scratch folder.
    static QString Path(const QString& name);
    // Writes the bytes as the file `name` and returns its path.
    static QString Write(const QString& name, const uint8_t* data, size_t size);
};
