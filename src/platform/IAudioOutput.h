#pragma once
#include <QtGlobal>

class QIODevice;

// A sound output for 44100 Hz stereo 16-bit PCM that pulls its data from a
// device, so playing never blocks the caller.
class IAudioOutput {
public:
    virtual ~IAudioOutput() = default;
    // True when a sound device can play the format.
    virtual bool isAvailable() = 0;
    // Starts pulling from source (open for reading) and returns at once. The
    // source must stay alive until stop().
    virtual void start(QIODevice& source) = 0;
    virtual void stop() = 0;
    // Sample frames (one left and one right sample) played since start().
    virtual qint64 playedFrames() = 0;
};
