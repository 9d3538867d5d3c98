#include "platform/CdioQSubchannel.h"
#include "platform/QSubchannelFrame.h"
#include <array>
#include <cdio/mmc_ll_cmds.h>
#include <cdio/sector.h>

namespace {
// READ CD's sub-channel selections.
constexpr uint8_t RawPw = 1;
constexpr uint8_t FormattedQ = 2;
constexpr int FormattedQBytes = 16;
constexpr int AnySectorType = 0;
} // namespace

// The formatted Q first; some drives leave its CRC out, so a frame that fails
// it is read again from the raw P-W data, where the CRC is always there.
std::optional<QPosition> CdioQSubchannel::Read(int32_t sector)
{
    std::array<uint8_t, CDIO_CD_FRAMESIZE_RAW + QSubchannelFrame::RawPwBytes> buffer{};
    if (!readCd(sector, FormattedQ, buffer.data(), FormattedQBytes))
        return std::nullopt;
    if (const auto position = QSubchannelFrame::Position(buffer.data() + CDIO_CD_FRAMESIZE_RAW))
        return position;
    if (!readCd(sector, RawPw, buffer.data(), QSubchannelFrame::RawPwBytes))
        return std::nullopt;
    return QSubchannelFrame::Position(QSubchannelFrame::FromRawPw(buffer.data() + CDIO_CD_FRAMESIZE_RAW).data());
}

bool CdioQSubchannel::readCd(int32_t sector, uint8_t selection, uint8_t* buffer, int subchannelBytes) const
{
    const auto blockBytes = static_cast<uint16_t>(CDIO_CD_FRAMESIZE_RAW + subchannelBytes);
    return mmc_read_cd(m_cdio, buffer, sector, AnySectorType, false, false, 0, true, false, 0, selection, blockBytes,
                       1)
        == DRIVER_OP_SUCCESS;
}
