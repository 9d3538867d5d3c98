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
        return std::make_unique<WithQ>(m_images.Open(source), q, codesRead);
    }

    FakeQSubchannel* q = nullptr;
    // Tables read with their ISRCs and catalogue number.
    int codesRead = 0;

private:
    class WithQ : public Disc {
    public:
        WithQ(std::unique_ptr<Disc> disc, FakeQSubchannel* q, int& codesRead)
            : m_disc(std::move(disc)), m_q(q), m_codesRead(codesRead)
        {
        }
        CdTocRecord Toc(DiscCodes codes) override
        {
            m_codesRead += codes == DiscCodes::Read;
            return m_disc->Toc(codes);
        }
        IQSubchannel* QSubchannel() override { return m_q; }

    private:
        std::unique_ptr<Disc> m_disc;
        FakeQSubchannel* m_q;
        int& m_codesRead;
    };
    CdioAudioDevice m_images;
};
