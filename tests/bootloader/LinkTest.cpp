#include <gtest/gtest.h>

#include <thread>

#include "bootloader/BootloaderLink.h"
#include "sim/SimulatedModule.h"

namespace canprog {
namespace {

// What the link reported, with no window behind it.
struct RecordingReport : LinkReport {
    void status(const std::string& text) override { statuses.push_back(text); }
    void wakeUpProgress(int) override { ++progressReports; }
    void wakeUpProgressEnded() override { progressEnded = true; }
    void wakeUp(WakeUpStep step) override { steps.push_back(step); }
    bool newKeyWanted() override { return newKey; }

    bool newKey = false;
    std::vector<std::string> statuses;
    std::vector<WakeUpStep> steps;
    int progressReports = 0;
    bool progressEnded = false;
};

// Sleeps as asked and counts the countdown down on its own clock: all a link needs of a pump.
struct TickingPump : MessagePump {
    explicit TickingPump(Countdown& countdown) : countdown_(countdown) {}
    void processMessages(Wait wait, serial::WaitHandle) override {
        if (wait == Wait::UntilActivity) {
            std::this_thread::sleep_for(countdown_.untilNextTick(std::chrono::milliseconds(2)));
        }
        if (countdown_.takeDueTick()) countdown_.tick();
    }
    void sleep(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration);
    }
    Countdown& countdown_;
};

struct LinkFixture : ::testing::Test {
    void SetUp() override {
        module.start();
        port.SetDevicePath(module.devicePath());
    }
    sim::SimulatedModule module;
    RecordingReport report;
    Countdown countdown{[] { return SteadyClock::now(); }};
    TickingPump pump{countdown};
    std::uint8_t key = 0;
    serial::TSlioComPort port;
    BootloaderLink link{report, pump, countdown, key, port};
};

// The protocol on its own: opened, woken with a fresh key, a frame answered and the restart
// sent, everything it had to say told to its report and nothing to a window.
TEST_F(LinkFixture, TheLinkTalksToTheModuleAndReportsWithoutAWindow) {
    report.newKey = true;
    ASSERT_TRUE(link.openModulePort(1, true));
    EXPECT_EQ(report.statuses.front(), "Opening port Com1");
    countdown.start(30);
    ASSERT_EQ(link.wakeBootloader({std::chrono::milliseconds(20), std::chrono::milliseconds(20)}),
              WaitResult::Success);
    EXPECT_EQ(report.steps, (std::vector{WakeUpStep::Searching, WakeUpStep::Linked}));
    EXPECT_GT(report.progressReports, 0);
    EXPECT_TRUE(report.progressEnded);
    EXPECT_NE(key, initialLinkKey);  // the key the link agreed is kept where its caller keeps it

    port.DiscardInput();
    link.SendPacket(READ_DEVICE_ID, 0, FrameData{}, 0);
    link.loadCountdown(30);
    FrameData reply{};
    ASSERT_EQ(link.readReply(kDeviceIdReplySize, reply, ReplyCountdown::Shown),
              WaitResult::Success);
    EXPECT_EQ(reply[1] | reply[2] << 8, 0x1234);
    link.restartModule("Restart");
    EXPECT_EQ(report.statuses.back(), "Restart");
    port.SetOpen(false);
    ASSERT_FALSE(module.frames().empty());
    EXPECT_EQ(module.frames().front().key, key);
}

}  // namespace
}  // namespace canprog
