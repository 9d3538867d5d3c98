#pragma once
#include <QString>
#include <cstdint>

// One entry of the disc's table of contents.
struct TTrack {
    int32_t TrackNum = 0;
    int32_t FirstSector = 0;
    int32_t LastSector = 0;
    QString Kind; // "Audio" or "Data"
};

// A named entry of the ripper's track list ("Track01", ...).
struct TrackEntry {
    QString Name;
    TTrack Track;
};
