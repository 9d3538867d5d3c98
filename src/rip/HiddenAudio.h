#pragma once
#include "rip/TTrack.h"
#include <cstdint>
#include <optional>

class ICdRipLibrary;

// Audio before track 1's INDEX 01 (a hidden track): worth a row only when it
// is not digital silence.
class HiddenAudio {
public:
    // Reads sectors first..last once through the library; true at the first
    // sample that is not zero. A range that cannot be opened holds nothing.
    static bool Holds(ICdRipLibrary& library, int32_t first, int32_t last);
    // Track 0, from sector 0 up to the first track, when that first track is
    // audio starting past sector 0 and the audio before it is not silence.
    static std::optional<TTrack> Before(ICdRipLibrary& library, const TTrack& firstTrack);
};
