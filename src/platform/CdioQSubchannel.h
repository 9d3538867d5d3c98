#pragma once
#include "platform/IQSubchannel.h"

typedef struct _CdIo CdIo_t;

// The Q sub-channel of a drive opened with libcdio, read with MMC's READ CD.
// The handle stays its owner's.
class CdioQSubchannel : public IQSubchannel {
public:
    explicit CdioQSubchannel(CdIo_t* cdio) : m_cdio(cdio) {}

    std::optional<QPosition> Read(int32_t sector) override;

private:
    // The sector's audio followed by the sub-channel data the selection names.
    bool readCd(int32_t sector, uint8_t selection, uint8_t* buffer, int subchannelBytes) const;

    CdIo_t* m_cdio;
};
