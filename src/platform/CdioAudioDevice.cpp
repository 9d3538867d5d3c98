#include "platform/CdioAudioDevice.h"
#include "platform/CdSourceKind.h"
#include "platform/CdioDisc.h"
#include "platform/CdioQSubchannel.h"

// libcdio holds the table of contents for the life of the handle.
class CdioAudioDevice::OpenDisc : public ICdAudioDevice::Disc {
public:
    explicit OpenDisc(const QString& source) : m_disc(source), m_subchannel(m_disc.Handle())
    {
    }

    CdTocRecord Toc(DiscCodes codes) override { return m_disc.Record(codes); }
    IQSubchannel* QSubchannel() override
    {
        return CdSourceKind::Of(m_disc.Source()) == CdSourceKind::Device ? &m_subchannel : nullptr;
    }

private:
    CdioDisc m_disc;
    CdioQSubchannel m_subchannel;
};

std::unique_ptr<ICdAudioDevice::Disc> CdioAudioDevice::Open(const QString& source)
{
    return std::make_unique<OpenDisc>(source);
}
