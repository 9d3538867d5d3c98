#pragma once
#include "platform/CdTocRecord.h"
#include "platform/IQSubchannel.h"
#include <QString>
#include <memory>

// The CD audio device: a disc's table of contents as the drive or the
// image reports it.
class ICdAudioDevice {
public:
    // One disc opened on the device, closed when the object goes. Errors are
    // CalvenorError with French texts.
    class Disc {
    public:
        virtual ~Disc() = default;
        // The whole table with the disc's own track numbers, index points,
        // flags, ISRCs and catalogue number (the last two as codes says).
        virtual CdTocRecord Toc(DiscCodes codes = DiscCodes::Read) = 0;
        // A drive's Q sub-channel, owned by the disc; none for an image,
        // whose sheet already tells where its pre-gaps begin.
        virtual IQSubchannel* QSubchannel() { return nullptr; }
    };

    virtual ~ICdAudioDevice() = default;
    // Opens the disc of a device or image path.
    virtual std::unique_ptr<Disc> Open(const QString& source) = 0;
};
