#pragma once
#include <QString>

// A match with another pressing of the disc: its audio lies that many
// samples later in the rip (earlier when negative), as a drive with that
// much more read offset would have read it. Such a match proves the reading,
// not the files as written: only a match at shift 0 proves those.
class PressingShift {
public:
    // "pressage décalé de +684 échantillons"
    static QString Text(int shift);
    // What a shifted match proves, for the log.
    static QString Meaning();
};
