#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

// The CD-Text names of the disc or of one track; empty where it has none.
struct CdTextNames {
    QString title;
    QString performer;

    bool IsEmpty() const { return title.isEmpty() && performer.isEmpty(); }
};

// A disc's table of contents as the drive or the image reports it, before
// any identifier is made of it. Sectors count as libcdio counts them:
// sector 0 lies two seconds into the disc.
struct CdTrackRecord {
    int number = 0;         // as on the disc
    int32_t start = 0;      // INDEX 01
    bool audio = true;
    int session = 1;
    int32_t pregap = -1;    // INDEX 00, -1 when the source gives none
    QList<int32_t> indexes; // INDEX 02, 03, ... where the source gives them
    bool preEmphasis = false;
    bool copyPermitted = false;
    QString isrc;
    CdTextNames text;
};

// Each track's ISRC and the disc's catalogue number, which a drive looks for
// in its Q sub-channel, on some drives for seconds: Skip leaves them empty.
enum class DiscCodes { Read, Skip };

struct CdTocRecord {
    QList<CdTrackRecord> tracks;
    int32_t leadOut = 0; // the sector after the disc's last one
    QString mcn;
    CdTextNames text; // the album's
    // What the source gave that was left out, in French.
    QStringList warnings;
};
