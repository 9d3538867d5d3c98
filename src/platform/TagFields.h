#pragma once
#include <QString>

// The tag values of one track, in full: no field width applies here.
struct TagFields {
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
    // A genre name; written as the text itself.
    QString genre;
    // 0 when unknown.
    int track = 0;
    int trackTotal = 0;
    // Empty when the disc does not give it.
    QString isrc;
};
