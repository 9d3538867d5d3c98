#pragma once
#include "platform/ICdAudioDevice.h"

// The CD audio device over libcdio: devices and disc images alike.
class CdioAudioDevice : public ICdAudioDevice {
public:
    std::unique_ptr<Disc> Open(const QString& source) override;

private:
    class OpenDisc;
};
