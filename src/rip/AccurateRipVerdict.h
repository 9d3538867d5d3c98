#pragma once
#include "rip/AccurateRipResponse.h"
#include <QList>
#include <QString>
#include <cstdint>
#include <functional>

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
    int Shift = 0;      // of the other pressing whose checksum matched (PressingShift); 0: the rip's own

    // The verdict for the track at the database's slot (from 1, see
    // AccurateRipDiscId::Slot) whose checksums are v1, v2.
    static AccurateRipVerdict Of(const QList<AccurateRipResponse>& responses, const AccurateRipDiscId& disc, int slot,
                                 uint32_t v1, uint32_t v2);
    // The same for a read whose v1 checksum alone is known.
    static AccurateRipVerdict OfV1(const QList<AccurateRipResponse>& responses, const AccurateRipDiscId& disc,
                                   int slot, uint32_t v1);
    // "Piste NN : exacte (AccurateRip v2, confiance C)" and the like; empty when not checked.
    QString Text(int trackNum) const;
    // The same without the track: "exacte (AccurateRip v2, confiance C)",
    // "exacte (AccurateRip v2, confiance C, pressage décalé de +684 échantillons)".
    QString Detail() const;
    // A better match than other: a higher confidence, on a tie the newer
    // checksum, then the smaller shift.
    bool Beats(const AccurateRipVerdict& other) const;

private:
    // The best match among the responses' checksums at slot; version tells
    // which of the read's checksums a response's equals (1 or 2), 0 for none.
    static AccurateRipVerdict best(const QList<AccurateRipResponse>& responses, const AccurateRipDiscId& disc, int slot,
                                   const std::function<int(uint32_t crc)>& versionOf);
};
