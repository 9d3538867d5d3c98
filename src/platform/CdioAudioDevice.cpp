#include "platform/CdioAudioDevice.h"
#include "platform/CdioDisc.h"

// libcdio holds the table of contents for the life of the handle.
class CdioAudioDevice::OpenDisc : public ICdAudioDevice::Disc {
public:
    explicit OpenDisc(const QString& source) : m_disc(source) {}

    CdTocRecord Toc() override { return m_disc.Record(); }

private:
    CdioDisc m_disc;
};

std::unique_ptr<ICdAudioDevice::Disc> CdioAudioDevice::Open(const QString& source)
{
    return std::make_unique<OpenDisc>(source);
}
