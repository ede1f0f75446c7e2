#include <gtest/gtest.h>

#include "bootloader/Replies.h"

namespace canprog {
namespace {

FrameData readReply(std::uint8_t lead, std::uint8_t data, std::uint8_t check) {
    FrameData reply{};
    reply[0] = lead;
    for (int i = 1; i <= kBlockSize; ++i) reply[static_cast<std::size_t>(i)] = data;
    reply[kReadEepromReplySize - 1] = check;
    return reply;
}

TEST(RepliesTest, TheMemoLineShowsTheReceivedAndTheComputedCheck) {
    // Block 12, lead 0x00, sixteen 0xAB: the computed check is -(16 x 0xAB) = 0x50.
    const FrameData reply = readReply(0x00, 0xAB, 0x50);
    std::string data;
    for (int i = 0; i < kBlockSize; ++i) data += "AB";
    EXPECT_EQ(blockLine(12, reply), "12 00 " + data + " 50-50");
    EXPECT_TRUE(replyCheckHolds(reply));
}

TEST(RepliesTest, AWrongCheckByteIsShownAndDetected) {
    const FrameData reply = readReply(0x01, 0x00, 0x00);
    EXPECT_EQ(computedReplyCheck(reply), 0xFF);
    EXPECT_FALSE(replyCheckHolds(reply));
    EXPECT_TRUE(blockLine(0, reply).ends_with(" 00-FF"));
}

TEST(RepliesTest, TheDeviceIdReadsHighByteFirst) {
    FrameData reply{};
    reply[0] = 0x00;
    reply[1] = 0x34;
    reply[2] = 0x12;
    EXPECT_EQ(deviceIdLine(reply), "Device ID: 12:34");
}

}  // namespace
}  // namespace canprog
