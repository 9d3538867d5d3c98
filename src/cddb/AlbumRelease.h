#pragma once
#include <QString>
#include <QStringList>

// One album as a metadata source describes it: what the lookup writes into
// the track rows.
struct AlbumRelease {
    QString artist;
    QString album;
    QString year;
    QString country;
    // Genre name; empty when the source gives none.
    QString genre;
    // One entry per audio track, in track order.
    QStringList titles;

    // The line of the album choice: artist, album, year and country.
    QString ChoiceLine() const;
};
