#pragma once
#include <QByteArray>
#include <QList>
#include <cstdint>

class AccurateRipDiscId;

// One response of an AccurateRip database file: the disc it was submitted
// for and, per audio track, how many rips agreed on which checksum.
struct AccurateRipResponse {
    struct Track {
        int Confidence = 0;
        uint32_t Crc = 0;
        uint32_t FrameCrc = 0; // of frame 450, used to find a pressing's offset
    };

    int TrackCount = 0;
    uint32_t OffsetsAdded = 0;
    uint32_t OffsetsMultiplied = 0;
    uint32_t CddbId = 0;
    QList<Track> Tracks;

    bool IsFor(const AccurateRipDiscId& disc) const;

    // The responses of a database file, in order. Raises CalvenorError with a
    // French text when the file is cut short.
    static QList<AccurateRipResponse> Parse(const QByteArray& file);
};
