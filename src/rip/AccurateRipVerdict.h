#pragma once
#include "rip/AccurateRipResponse.h"
#include <QList>
#include <QString>
#include <cstdint>

class AccurateRipDiscId;

// What the AccurateRip database says of one ripped track.
struct AccurateRipVerdict {
    enum Kind {
        NotChecked, // the database was not asked, or could not be
        Exact,      // a response holds the track's v1 or v2 checksum
        Different,  // the database knows the disc, not this checksum
        Absent,     // the database does not know the disc or the track
        Unverified  // a stop gave up the request: the file is whole, only unproven
    };

    Kind Result = NotChecked;
    int Version = 0;    // of the matching checksum, 1 or 2
    int Confidence = 0; // the highest among the matching responses

    // The verdict for the track at the database's slot (from 1, see
    // AccurateRipDiscId::Slot) whose checksums are v1, v2.
    static AccurateRipVerdict Of(const QList<AccurateRipResponse>& responses, const AccurateRipDiscId& disc, int slot,
                                 uint32_t v1, uint32_t v2);
    // "Piste NN : exacte (AccurateRip v2, confiance C)" and the like; empty when not checked.
    QString Text(int trackNum) const;
    // The same without the track: "exacte (AccurateRip v2, confiance C)".
    QString Detail() const;
};
