#include <gtest/gtest.h>

#include <numeric>

#include "serial/FakeDispatcher.h"
#include "support/Eventually.h"

namespace canprog::serial {
namespace {

using testing::eventually;
using testing::FakeDispatcher;

std::vector<std::uint8_t> pattern(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    return bytes;
}

TEST(ReceiveRing, EightThousandBytesFillTheRingAndNothingIsLost) {
    FakeDispatcher dispatcher;
    ASSERT_EQ(dispatcher.open(), 0);
    const auto bytes = pattern(10000);
    dispatcher.receive(bytes);
    // The ring takes 8192 bytes; the rest waits in the input queue.
    ASSERT_TRUE(eventually([&] { return dispatcher.queuedBlocks() <= 8; }));
    ASSERT_TRUE(eventually([&] { return dispatcher.CharReady(); }));
    std::vector<std::uint8_t> got;
    while (got.size() < bytes.size()) {
        std::uint8_t b = 0;
        if (dispatcher.GetChar(b) == 0) {
            got.push_back(b);
        } else {
            ASSERT_TRUE(eventually([&] { return dispatcher.CharReady(); })) << got.size();
        }
    }
    EXPECT_EQ(got, bytes);
    EXPECT_EQ(dispatcher.queuedBlocks(), 0u);
}

TEST(ReceiveRing, GetByteOnAnEmptyRingLeavesItAsItWas) {
    FakeDispatcher dispatcher;
    ASSERT_EQ(dispatcher.open(), 0);
    std::uint8_t b = 0x55;
    EXPECT_EQ(dispatcher.GetChar(b), -3007);
    EXPECT_EQ(b, 0x55);
    EXPECT_FALSE(dispatcher.CharReady());
    dispatcher.receive({0x41});
    ASSERT_TRUE(eventually([&] { return dispatcher.CharReady(); }));
    EXPECT_EQ(dispatcher.GetChar(b), 0);
    EXPECT_EQ(b, 0x41);
    EXPECT_EQ(dispatcher.GetChar(b), -3007);
}

TEST(ReceiveRing, PurgeMakesByteAvailableFalseAtOnce) {
    FakeDispatcher dispatcher;
    ASSERT_EQ(dispatcher.open(), 0);
    dispatcher.receive(pattern(9000));
    ASSERT_TRUE(eventually([&] { return dispatcher.CharReady(); }));
    dispatcher.FlushInBuffer();
    EXPECT_FALSE(dispatcher.CharReady());
    EXPECT_EQ(dispatcher.queuedBlocks(), 0u);
}

TEST(TransmitRing, ExactlyFullThenOneMoreIsRefused) {
    FakeDispatcher dispatcher;
    ASSERT_EQ(dispatcher.open(16), 0);
    const auto bytes = pattern(16);
    EXPECT_EQ(dispatcher.PutBlock(bytes.data(), 10), 0);
    EXPECT_EQ(dispatcher.PutBlock(bytes.data() + 10, 6), 0);
    EXPECT_EQ(dispatcher.OutBuffUsed(), 16u);
    EXPECT_EQ(dispatcher.PutChar(0xAA), -3006);
    EXPECT_EQ(dispatcher.OutBuffUsed(), 16u);
    EXPECT_EQ(dispatcher.PutBlock(nullptr, 0), 0);
    EXPECT_EQ(dispatcher.sent(), bytes);
    EXPECT_EQ(dispatcher.OutBuffUsed(), 0u);
    // Wrapping around the ring's end keeps the order.
    EXPECT_EQ(dispatcher.PutBlock(bytes.data(), 12), 0);
    dispatcher.sent();
    EXPECT_EQ(dispatcher.PutBlock(bytes.data(), 16), 0);
    EXPECT_EQ(dispatcher.sent(), bytes);
}

TEST(LineSettings, CurrentValuesNeitherSleepNorWrite) {
    FakeDispatcher dispatcher;
    ASSERT_EQ(dispatcher.open(), 0);
    const int written = dispatcher.settingsWritten;
    const int sleeps = dispatcher.sleeps;
    EXPECT_EQ(dispatcher.SetLine(9600, 0, 8, 1), 0);
    EXPECT_EQ(dispatcher.SetLine(0, 5, 9, 3), 0);  // keep every value
    EXPECT_EQ(dispatcher.settingsWritten, written);
    EXPECT_EQ(dispatcher.sleeps, sleeps);
}

TEST(LineSettings, AChangeSleepsEighteenCharactersAtTheLastBaud) {
    FakeDispatcher dispatcher;
    ASSERT_EQ(dispatcher.open(), 0);
    EXPECT_EQ(dispatcher.LastBaud(), 9600);
    dispatcher.slept = {};
    EXPECT_EQ(dispatcher.SetLine(19200, 0, 8, 1), 0);
    EXPECT_EQ(dispatcher.slept, std::chrono::milliseconds(19));  // 18 characters at 9600, 8N1
    EXPECT_EQ(dispatcher.CurrentSettings().baud, 19200);
    EXPECT_EQ(dispatcher.LastBaud(), 19200);
}

TEST(LineSettings, FiveDataBitsTakeOneAndAHalfStopBits) {
    FakeDispatcher dispatcher;
    ASSERT_EQ(dispatcher.open(), 0);
    EXPECT_EQ(dispatcher.SetLine(9600, 0, 5, 2), 0);
    EXPECT_EQ(dispatcher.CurrentSettings().stopBits, StopBitsField::OneAndHalf);
}

TEST(FlowControl, LevelsAreChecked) {
    FakeDispatcher dispatcher;
    ASSERT_EQ(dispatcher.open(), 0);
    EXPECT_EQ(dispatcher.SetHardwareFlow(100, 200, 8), -1002);
    EXPECT_EQ(dispatcher.SetHardwareFlow(5000, 10, 8), -1002);
    EXPECT_EQ(dispatcher.SetHardwareFlow(3686, 409, 8), 0);
    EXPECT_TRUE(dispatcher.CurrentSettings().outxCtsFlow);
    EXPECT_EQ(dispatcher.CurrentSettings().xoffLimit, 4096 - 3686);
}

}  // namespace
}  // namespace canprog::serial
