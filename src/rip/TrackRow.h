#pragma once
#include "rip/TTrack.h"
#include <QList>
#include <QString>
#include <array>

// A track row as the rip run reads it: the label ("Piste NN"), the seven
// values (target path, title, artist, album, year, genre name, comment) and
// the tick.
struct TrackRow {
    enum Value { Target = 0, Title, Artist, Album, Year, Genre, Comment, ValueCount };
    static constexpr int MaxRows = 50;
    // Every track of a disc: its numbers go up to 99.
    static constexpr int AllTracks = 99;

    QString Label;
    std::array<QString, ValueCount> Values;
    bool Ticked = false;

    // One row per audio entry of a ripper's track list, in order, at most
    // maxRows (the main window's list holds MaxRows).
    static QList<TrackRow> FromTracks(const QList<TrackEntry>& tracks, int maxRows = MaxRows);
};
