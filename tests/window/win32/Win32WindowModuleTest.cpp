// The Windows window against a simulated module linked into the Wine prefix as COM1, its
// memory saved to the files named by CANPROG_SIM_FLASH and CANPROG_SIM_EEPROM
// (tests/window/win32/wine_window_e2e.sh). Skipped without them.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "Win32WindowFixture.h"
#include "base/Utf8Path.h"
#include "firmware/FirmwareLoader.h"
#include "model/MessageIndex.h"
#include "operations/Operations.h"
#include "support/Eventually.h"
#include "support/TestData.h"

namespace canprog {
namespace {

std::vector<std::uint8_t> contentsOf(const char* path) {
    std::ifstream in(utf8Path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Win32WindowModuleTest : public ::testing::Test, public testing::Win32WindowFixture {
  protected:
    Win32WindowModuleTest() : Win32WindowFixture(Clock::Real) {}
    void SetUp() override {
        flashFile = std::getenv("CANPROG_SIM_FLASH");
        eepromFile = std::getenv("CANPROG_SIM_EEPROM");
        if (!flashFile || !eepromFile) GTEST_SKIP() << "no simulated module on COM1";
        form.selectPort(0);  // COM1
    }

    HelpWindow help;
    Operations operations{form, help, pump};
    const char* flashFile = nullptr;
    const char* eepromFile = nullptr;
};

TEST_F(Win32WindowModuleTest, TheReadButtonPutsTheVersionIntoTheLogWhileTheCountdownRuns) {
    int pumpsWithCountdown = 0;
    pump.onPump([&] {
        if (form.countdown().tickerEnabled() && form.countdown().timeoutTicks() > 0)
            ++pumpsWithCountdown;
    });
    click(Ctl::Button2);
    EXPECT_EQ(operations.lastOutcome(), OperationOutcome::Finished);
    const std::string log = textOf(Ctl::meLog);
    EXPECT_NE(log.find(form.message(msg::ProgramVersion) + ": "), std::string::npos) << log;
    EXPECT_GT(pumpsWithCountdown, 0);
    EXPECT_TRUE(enabled(Ctl::Button2));
}

TEST_F(Win32WindowModuleTest, AWriteThroughTheWindowLeavesTheFilesImagesInTheModule) {
    const std::string file = testing::dataFile("good.hexfw");
    shell.nextChoice = file;
    click(Ctl::bbOpen);
    ASSERT_TRUE(enabled(Ctl::bbUpload)) << textOf(Ctl::meLog);
    int progressShown = 0;
    pump.onPump([&] {
        if (::SendMessageW(window.control(Ctl::ProgressBar), PBM_GETPOS, 0, 0) > 0) ++progressShown;
    });
    click(Ctl::bbUpload);
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << textOf(Ctl::meLog);
    EXPECT_GT(progressShown, 0);

    FirmwareImages expected;
    ASSERT_TRUE(loadFirmwareFile(file, true, expected).loaded());
    // The module saves its memory once it has been quiet for a moment.
    EXPECT_TRUE(testing::eventually([&] {
        const auto flash = contentsOf(flashFile);
        const auto eeprom = contentsOf(eepromFile);
        return flash.size() == expected.flashImage.size() &&
               std::equal(flash.begin() + 0x200, flash.end(),
                          expected.flashImage.begin() + 0x200) &&
               eeprom.size() == expected.eepromImage.size() &&
               std::equal(eeprom.begin(), eeprom.end(), expected.eepromImage.begin());
    }));
}

}  // namespace
}  // namespace canprog
