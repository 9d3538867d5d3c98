#include "platform/QSubchannelFrame.h"
#include <gtest/gtest.h>

namespace {
// CRCs from Python's binascii.crc_hqx (CRC-16, x^16 + x^12 + x^5 + 1, from
// zero), inverted as the disc stores them.
const struct {
    const char* what;
    QSubchannelFrame::Frame frame;
    std::optional<QPosition> position;
} Frames[] = {
    {"track 2's pre-gap", {0x01, 0x02, 0x00, 0x00, 0x01, 0x74, 0x00, 0x00, 0x04, 0x00, 0x4B, 0x39},
     QPosition{2, 0, 150}},
    {"track 12", {0x01, 0x12, 0x01, 0x03, 0x59, 0x74, 0x00, 0x45, 0x01, 0x33, 0xF5, 0xD8}, QPosition{12, 1, 202458}},
    {"lead-out", {0x01, 0xAA, 0x01, 0x00, 0x00, 0x00, 0x00, 0x72, 0x10, 0x05, 0xC5, 0x01}, QPosition{0xAA, 1, 324605}},
    {"one bit off", {0x01, 0x12, 0x01, 0x03, 0x59, 0x74, 0x00, 0x45, 0x01, 0x32, 0xF5, 0xD8}, std::nullopt},
    {"catalogue number (ADR 2)", {0x02, 0x07, 0x24, 0x38, 0x49, 0x60, 0x65, 0x00, 0x00, 0x12, 0xC2, 0x31},
     std::nullopt},
    {"not BCD", {0x41, 0x03, 0x02, 0x00, 0x10, 0x00, 0x00, 0x10, 0x2A, 0x00, 0xF0, 0x88}, std::nullopt},
};
} // namespace

TEST(QSubchannelFrame, PositionsOfCheckedFramesOnly)
{
    for (const auto& f : Frames) {
        SCOPED_TRACE(f.what);
        const std::optional<QPosition> read = QSubchannelFrame::Position(f.frame.data());
        ASSERT_EQ(read.has_value(), f.position.has_value());
        if (read) {
            EXPECT_EQ(read->track, f.position->track);
            EXPECT_EQ(read->index, f.position->index);
            EXPECT_EQ(read->sector, f.position->sector);
        }
    }
}

// Q is the second bit of each raw byte, the others' bits around it.
TEST(QSubchannelFrame, QFromRawSubchannelData)
{
    const QSubchannelFrame::Frame& q = Frames[1].frame;
    uint8_t pw[QSubchannelFrame::RawPwBytes];
    for (int bit = 0; bit < QSubchannelFrame::RawPwBytes; ++bit) {
        const int others = (bit % 3 == 0 ? 0xA5 : 0x9A) & ~0x40;
        pw[bit] = static_cast<uint8_t>(((q[bit / 8] >> (7 - bit % 8)) & 1) << 6 | others);
    }
    EXPECT_EQ(QSubchannelFrame::FromRawPw(pw), q);
}
