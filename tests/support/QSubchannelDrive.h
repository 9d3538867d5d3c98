#pragma once
#include "platform/CdioAudioDevice.h"
#include "support/FakeQSubchannel.h"
#include <memory>

// Images read through libcdio, as a drive whose discs give a Q sub-channel
// once a test sets one.
class QSubchannelDrive : public ICdAudioDevice {
public:
    std::unique_ptr<Disc> Open(const QString& source) override
    {
        return std::make_unique<WithQ>(m_images.Open(source), q);
    }

    FakeQSubchannel* q = nullptr;

private:
    class WithQ : public Disc {
    public:
        WithQ(std::unique_ptr<Disc> disc, FakeQSubchannel* q) : m_disc(std::move(disc)), m_q(q) {}
        CdTocRecord Toc() override { return m_disc->Toc(); }
        IQSubchannel* QSubchannel() override { return m_q; }

    private:
        std::unique_ptr<Disc> m_disc;
        FakeQSubchannel* m_q;
    };
    CdioAudioDevice m_images;
};
