#pragma once
#include <QString>

// Whoever runs a rip hears of it through this, on the thread that rips. It is
// handed to each call: the ripper keeps no hooks that two owners could fight
// over.
class IRipProgress {
public:
    virtual ~IRipProgress() = default;
    // A track starts: its number and the file asked for.
    virtual void TrackBegins(int /*number*/, const QString& /*path*/) {}
    // After each chunk: the percentage of the range read so far.
    virtual void ReadProgress(int percent) = 0;
    // After each chunk, once ReadProgress is told: a rip on the window's thread
    // lets its events through here, a command line looks for a stop signal.
    virtual void Breathe() {}
};
