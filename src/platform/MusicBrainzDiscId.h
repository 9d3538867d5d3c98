#pragma once
#include <QList>
#include <QString>

// The MusicBrainz disc identifier of a table of contents, through libdiscid.
class MusicBrainzDiscId {
public:
    // firstTrack: the disc's number of the first entry of starts; starts: the
    // first frame of each track from it on, counted from the very start of
    // the disc (track 1 normally at 150); leadOut: the frame after the last
    // of them. Raises CalvenorError with a French text when libdiscid refuses
    // the table.
    static QString FromToc(int firstTrack, const QList<int>& starts, int leadOut);
};
