#pragma once
#include <QString>
#include <QStringList>
#include <array>

// One track of the album sheet: its number as on the disc, its tag values,
// the file it goes to and whether the user keeps it.
struct AlbumTrack {
    // The values a track carries, in the order of the track list's columns.
    enum Value { Target = 0, Title, Artist, Album, Year, Genre, Comment, ValueCount };

    int number = 0;
    std::array<QString, ValueCount> values;
    bool ticked = false;
    // The title the file is named after when a correction for the file name
    // made it differ from the tag's title; empty: the title itself.
    QString fileTitle;
    // MusicBrainz's identifiers of the track on its release, of its
    // recording and of each credited artist, in credit order; empty when unknown.
    struct MusicBrainzIds {
        QString releaseTrack;
        QString recording;
        QStringList artists;
        bool operator==(const MusicBrainzIds& o) const
        {
            return releaseTrack == o.releaseTrack && recording == o.recording && artists == o.artists;
        }
    };
    MusicBrainzIds musicBrainz;

    const QString& value(Value v) const { return values.at(v); }
    void setValue(Value v, const QString& text) { values.at(v) = text; }
    const QString& FileTitle() const { return fileTitle.isEmpty() ? value(Title) : fileTitle; }
    // "Piste NN", the label the list shows and new files are named after.
    QString Label() const { return QStringLiteral("Piste %1").arg(number, 2, 10, QLatin1Char('0')); }
};
