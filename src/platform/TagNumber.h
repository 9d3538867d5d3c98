#pragma once
#include <QString>

// A track or disc number as tags write it: "4", "02/10", " 4 / 11".
class TagNumber {
public:
    // The number and, after a slash, the count; 0 for what is not there.
    static void Read(const QString& text, int& number, int& count);
};
