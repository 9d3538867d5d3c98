#pragma once
#include <QString>
#include <functional>

// A change to a file that already has its name, made without touching it:
// the change is made in a copy out of sight, and the copy then takes the
// file's name in one step. A failure or a killed program at any point leaves
// the file as it was.
class FileRewrite {
public:
    // change gets a path to the copy. Raises FileError (and whatever change
    // raises); the copy is dropped then.
    static void Apply(const QString& path, const std::function<void(const QString& copy)>& change);
};
