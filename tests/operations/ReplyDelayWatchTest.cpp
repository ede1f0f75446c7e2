#include <gtest/gtest.h>

#include "operations/ReplyDelayWatch.h"
#include "serial/AdapterLatency.h"

namespace canprog {
namespace {

using namespace std::chrono_literals;

TEST(ReplyDelayWatchTest, JudgesOnceByTheMedianOfTheFirst64Frames) {
    // 23 bytes on the wire take 23.96 ms; a 16 ms latency timer adds its 16.
    ReplyDelayWatch slow;
    std::optional<std::chrono::microseconds> said;
    for (int frame = 0; frame < 100; ++frame) {
        // A few quick answers do not hide the adapter's habit.
        const auto waited = frame % 10 == 0 ? 24ms : 40ms;
        const auto delay = slow.add(waited, 23);
        if (frame == 63) {
            said = delay;
        } else {
            EXPECT_FALSE(delay) << frame;  // not before 64 frames, and said once
        }
    }
    ASSERT_TRUE(said);
    EXPECT_NEAR(static_cast<double>(said->count()), 16034.0, 10.0);

    ReplyDelayWatch quick;
    for (int frame = 0; frame < 64; ++frame) EXPECT_FALSE(quick.add(25ms, 23));
}

TEST(AdapterLatencyTest, AnFtdiAdapterIsKnownByItsBusDriverAndItsTimerIsRead) {
    const std::vector<serial::PortDevice> devices = {
        {"COM3", "USB", std::nullopt, "USB-SERIAL CH340 (COM3)"},
        {"COM5", "FTDIBUS", 16, "USB Serial Port (COM5)"},
        {"COM7", "FTDIBUS", std::nullopt, "USB Serial Port (COM7)"},
    };
    const auto ftdi = serial::adapterLatencyAmong(devices, 5);
    EXPECT_TRUE(ftdi.ftdi);
    EXPECT_EQ(ftdi.latencyTimer_ms, 16);
    EXPECT_FALSE(serial::adapterLatencyAmong(devices, 3).ftdi);
    EXPECT_TRUE(serial::adapterLatencyAmong(devices, 7).ftdi);
    EXPECT_FALSE(serial::adapterLatencyAmong(devices, 9).ftdi);  // no such port
}

}  // namespace
}  // namespace canprog
