#include <gtest/gtest.h>

#include "ModuleFixture.h"
#include "support/PtyPair.h"

#include <filesystem>

namespace canprog {
namespace {

class VersionReadTest : public ::testing::Test, public testing::ModuleFixture {};

TEST_F(VersionReadTest, ReadsTheVersionAndLeavesThePortFree) {
    startModule();
    ASSERT_EQ(operations.readVersion(), OperationOutcome::Finished);
    EXPECT_EQ(log(), (std::vector<std::string>{"Waiting for bootloader...", "OK",
                                               "Program version: DEMO 1.00       ", "Finished"}));
    EXPECT_EQ(form.text(Ctl::Edit1), "OK. Restart CPU...");
    EXPECT_FALSE(operations.ComPort().Open());  // other programs can open it now
    EXPECT_TRUE(framesOf(READ_DEVICE_ID).empty());
    const auto reads = framesOf(READ_EEPROM);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].address, 0xF0u);
    EXPECT_TRUE(testing::eventually([&] { return module->restarts() == 1; }));
    EXPECT_EQ(form.control(Ctl::ProgressBar1).position, 25);  // left full
    EXPECT_EQ(form.control(Ctl::ProgressBar).position, 0);

    // The next operation opens it again.
    ASSERT_EQ(operations.readVersion(), OperationOutcome::Finished);
    EXPECT_TRUE(testing::eventually([&] { return module->restarts() == 2; }));
}

TEST_F(VersionReadTest, DeviceIdComesFirstWhenAsked) {
    startModule();
    form.setChecked(Ctl::DeviceID, true);
    ASSERT_EQ(operations.readVersion(), OperationOutcome::Finished);
    EXPECT_EQ(log(),
              (std::vector<std::string>{"Waiting for bootloader...", "OK", "Device ID: 12:34",
                                        "Program version: DEMO 1.00       ", "Finished"}));
}

TEST_F(VersionReadTest, ErasedVersionShowsTheCodePagesCharacter) {
    sim::SimOptions options;
    std::fill(options.memory.eeprom.begin() + 0xF0, options.memory.eeprom.end(), 0xFF);
    startModule(options);
    ASSERT_EQ(operations.readVersion(), OperationOutcome::Finished);
    std::string dots;
    for (int i = 0; i < 16; ++i) dots += "˙";
    EXPECT_EQ(log()[2], "Program version: " + dots);
}

TEST_F(VersionReadTest, ModuleThatAnswersOnlyLateStillGetsItsReplyTime) {
    sim::SimOptions options;
    options.faults.answerAfterProbes = 24;  // links on the last attempts of the countdown
    startModule(options);
    ASSERT_EQ(operations.readVersion(), OperationOutcome::Finished);
    EXPECT_EQ(log()[2], "Program version: DEMO 1.00       ");
}

TEST_F(VersionReadTest, ReplyThatStopsLeavesThePortFree) {
    sim::SimOptions options;
    options.faults.cutReplyAfterBytes = 10;
    startModule(options);
    ASSERT_EQ(operations.readVersion(), OperationOutcome::TransmissionError);
    EXPECT_EQ(log().back(), "Error data transmission");
    EXPECT_FALSE(operations.ComPort().Open());
    EXPECT_TRUE(framesOf(RESTART).empty());
}

TEST_F(VersionReadTest, CancelWhileTheReplyIsAwaited) {
    sim::SimOptions options;
    options.faults.silentAfterFrames = 0;
    startModule(options);
    pump.onPump([this] {
        if (!module->frames().empty() && form.countdown().timeoutTicks() > 0)
            form.click(Ctl::Button1);
    });
    ASSERT_EQ(operations.readVersion(), OperationOutcome::Cancelled);
    EXPECT_EQ(log().back(), "Cancel");
    EXPECT_FALSE(operations.ComPort().Open());
}

TEST_F(VersionReadTest, FailureInPolish) {
    sim::SimOptions options;
    options.faults.neverAnswer = true;
    startModule(options);
    form.click(Ctl::lang1);
    ASSERT_EQ(operations.readVersion(), OperationOutcome::NoBootloader);
    EXPECT_EQ(log(), (std::vector<std::string>{"Wyszukuje...", "Brak bootloadera",
                                               "Sprawdź kabel, zasilanie modułu i wybrany port"}));
    EXPECT_EQ(form.text(Ctl::Edit1), "Opening port Com1");
    EXPECT_FALSE(operations.ComPort().Open());
}

// The port list read again when it opens, and the port the chosen entry names is the one the
// read opens: COM17, above the twelve the list always has.
TEST_F(VersionReadTest, TheChosenEntrysPortIsTheOneOpened) {
    startModule();
    operations.ComPort().SetDevicePath("");  // opened by its number, through the port map
    const auto ports =
        std::filesystem::temp_directory_path() / ("canprog-entry-" + std::to_string(::getpid()));
    std::filesystem::create_directories(ports);
    std::filesystem::create_symlink(module->devicePath(), ports / "COM17");
    ::setenv("CANPROG_PORTS", ports.c_str(), 1);
    int probes = 0;
    operations.portProbe = [&] {
        ++probes;
        return std::vector<serial::PresentPort>{
            {17, (ports / "COM17").string(), false, "USB-SERIAL CH340", ""}};
    };
    form.click(Ctl::cbPort);  // the list opens
    EXPECT_EQ(probes, 1);
    const auto& entries = form.control(Ctl::cbPort).lines;
    ASSERT_EQ(entries.back(), "COM17 \u2014 USB-SERIAL CH340");
    form.selectPort(static_cast<int>(entries.size()) - 1);
    const OperationOutcome outcome = operations.readVersion();
    ::unsetenv("CANPROG_PORTS");
    std::filesystem::remove_all(ports);
    EXPECT_EQ(outcome, OperationOutcome::Finished);
    EXPECT_EQ(operations.ComPort().ComNumber(), 17);
    EXPECT_EQ(form.text(Ctl::Edit1), "OK. Restart CPU...");
}

}  // namespace
}  // namespace canprog
