#pragma once
#include <QList>
#include <QString>

// The MusicBrainz disc identifier of a table of contents, through libdiscid.
class MusicBrainzDiscId {
public:
    // starts: the first frame of audio tracks 1..n, counted from the very
    // start of the disc (track 1 normally at 150); leadOut: the frame after
    // the last of them. Raises CalvenorError with a French text when
    // libdiscid refuses the table.
    static QString FromToc(const QList<int>& starts, int leadOut);
};
