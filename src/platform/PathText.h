#pragma once
#include <QString>

// Rules on path texts shared by every component.
class PathText {
public:
    // The path with its extension (from the last "." of the file name) replaced
    // by `extension`; appended when the file name has no dot.
    static QString WithExtension(const QString& path, const QString& extension)
    {
        const int slash = path.lastIndexOf('/');
        const int dot = path.lastIndexOf('.');
        return (dot > slash ? path.left(dot) : path) + extension;
    }
};
