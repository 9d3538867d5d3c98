#pragma once
#include "platform/CdTocRecord.h"
#include <QString>
#include <memory>

// The CD audio device: a disc's table of contents as a CD player reports it.
// Positions and lengths are frames (75 a second) counted from the very start
// of the disc, so the first track normally starts at frame 150; the last
// track's length ends one frame short of the lead-out.
class ICdAudioDevice {
public:
    // One disc opened on the device, closed when the object goes. Errors are
    // CalvenorError with French texts.
    class Disc {
    public:
        virtual ~Disc() = default;
        virtual int TrackCount() = 0;
        // Track numbers are 1-based; a number the disc does not have raises.
        virtual int TrackPosition(int track) = 0;
        virtual int TrackLength(int track) = 0;
        // False for a data track.
        virtual bool IsAudioTrack(int track) = 0;
        // The whole table with the disc's own track numbers, index points,
        // flags, ISRCs and catalogue number.
        virtual CdTocRecord Toc() = 0;
    };

    virtual ~ICdAudioDevice() = default;
    // Opens the disc of a device or image path.
    virtual std::unique_ptr<Disc> Open(const QString& source) = 0;
};
