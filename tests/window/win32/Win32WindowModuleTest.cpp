// The Windows window against a simulated module linked into the Wine prefix as COM1, its
// memory saved to the files named by CANPROG_SIM_FLASH and CANPROG_SIM_EEPROM
// (tests/window/win32/wine_window_e2e.sh). Skipped without them.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>

#include "Win32WindowFixture.h"
#include "base/Utf8Path.h"
#include "firmware/FirmwareLoader.h"
#include "model/MessageIndex.h"
#include "operations/Operations.h"
#include "operations/SavedBlock.h"
#include "operations/SettingsFiles.h"
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

TEST_F(Win32WindowModuleTest, APlainHexFileIsWrittenAndToFileAfterSavingHoldsTheWrittenPin) {
    operations.useWindowChecks();
    bindSettingsFiles(form, operations);
    shell.nextChoice = testing::dataFile("good_plain.hex");
    click(Ctl::bbOpen);
    click(Ctl::bbUpload);
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << textOf(Ctl::meLog);
    FirmwareImages plain;
    ASSERT_TRUE(loadFirmwareFile(testing::dataFile("good_plain.hex"), false, plain).loaded());
    EXPECT_TRUE(testing::eventually([&] {
        const auto flash = contentsOf(flashFile);
        return flash.size() == plain.flashImage.size() &&
               std::equal(flash.begin() + 0x200, flash.end(), plain.flashImage.begin() + 0x200);
    }));

    // Read, a new PIN typed, Saving, then To file...: the file holds the PIN written.
    window.showPage(1);
    click(Ctl::BitBtn2);
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << textOf(Ctl::meLog);
    ::SetWindowTextW(window.control(Ctl::PIN), L"2468");
    click(Ctl::BitBtn1);
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << textOf(Ctl::meLog);
    const std::string saved = std::string(std::getenv("TEMP") ? std::getenv("TEMP") : ".") +
                              "\\canprog-after-saving.json";
    std::remove(saved.c_str());
    shell.nextSave = saved;
    click(Ctl::bbSaveSettings);
    std::string why;
    const auto block = readSavedBlockFile(saved, why);
    ASSERT_TRUE(block) << why;
    EXPECT_EQ(pinText(block->block), "2468");
    std::remove(saved.c_str());
}

// A technician without a mouse: Space on "Open file", the file chosen, and the focus is on
// "Write" for the next Space.
TEST_F(Win32WindowModuleTest, AWriteWithTheKeyboardAlone) {
    operations.useWindowChecks();
    window.focusFirstControl();
    ASSERT_EQ(::GetFocus(), window.control(Ctl::bbOpen));
    shell.nextChoice = testing::dataFile("good.hexfw");
    for (int press = 0; press < 2; ++press) {
        HWND focus = ::GetFocus();
        ::PostMessageW(focus, WM_KEYDOWN, VK_SPACE, 0);
        ::PostMessageW(focus, WM_KEYUP, VK_SPACE, 0);
        settle();
        if (press == 0) {
            ASSERT_EQ(::GetFocus(), window.control(Ctl::bbUpload));
        }
    }
    EXPECT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << textOf(Ctl::meLog);
    const std::string log = textOf(Ctl::meLog);
    EXPECT_NE(log.find("EEPROM verified"), std::string::npos) << log;
    EXPECT_NE(log.find("Finished"), std::string::npos) << log;
}

TEST_F(Win32WindowModuleTest, ClosingDuringAWriteAsksAndYesStopsItBetweenFramesWithTheNote) {
    shell.nextChoice = testing::dataFile("good.hexfw");
    click(Ctl::bbOpen);
    std::vector<std::string> asked;
    std::vector<std::string> shown;
    window.setStopQuestion([&](const std::string& question, std::function<void(bool)> answer) {
        asked.push_back(question);
        answer(true);
    });
    window.setOutcomeDisplay([&](const std::string& outcome) { shown.push_back(outcome); });
    pump.onPump([&] {
        if (operations.facts().written.flashAcknowledged >= 50 && asked.empty()) {
            ::PostMessageW(window.handle(), WM_CLOSE, 0, 0);
        }
    });
    click(Ctl::bbUpload);
    pump.onPump({});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(operations.lastOutcome(), OperationOutcome::Cancelled);
    // The note is in the window's log before the window goes.
    const std::string log = textOf(Ctl::meLog);
    EXPECT_NE(log.find("The module is only partly written (acknowledged blocks: "),
              std::string::npos)
        << log;
    EXPECT_FALSE(operations.ComPort().Open());
    for (int i = 0; i < 100 && !pump.quitRequested(); ++i) {
        pump.processMessages(MessagePump::Wait::UntilActivity);
    }
    EXPECT_TRUE(pump.quitRequested());  // the window went once the write had ended
    EXPECT_FALSE(::IsWindow(window.handle()));
    // How far it got was shown before the window went.
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("The module is only partly written (acknowledged blocks: "),
              std::string::npos)
        << shown[0];
}

TEST_F(Win32WindowModuleTest, WhileTheWindowAsksOrIsDraggedFramesKeepGoingAndNoWritesOn) {
    shell.nextChoice = testing::dataFile("good.hexfw");
    click(Ctl::bbOpen);
    std::function<void(bool)> answerLater;
    int ackedWhenAsked = -1;
    window.setStopQuestion([&](const std::string&, std::function<void(bool)> answer) {
        ackedWhenAsked = operations.facts().written.flashAcknowledged;
        answerLater = std::move(answer);
    });
    RECT before;
    ::GetWindowRect(window.handle(), &before);
    int ackedWhenDragged = -1;
    int ackedWhenDropped = -1;
    pump.onPump([&] {
        const int acked = operations.facts().written.flashAcknowledged;
        if (acked >= 50 && ackedWhenAsked < 0) ::PostMessageW(window.handle(), WM_CLOSE, 0, 0);
        // The technician reads the question for a while, then answers No.
        if (answerLater && acked >= ackedWhenAsked + 200) std::exchange(answerLater, {})(false);
        // Then drags the window by its title, the button held for 200 blocks.
        if (acked >= 500 && ackedWhenDragged < 0) {
            ackedWhenDragged = acked;
            ::PostMessageW(window.handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION,
                           MAKELPARAM(before.left + 40, before.top + 10));
            ::PostMessageW(window.handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 20));
        }
        if (ackedWhenDragged >= 0 && ackedWhenDropped < 0 && acked >= ackedWhenDragged + 200) {
            ackedWhenDropped = acked;
            ::PostMessageW(window.handle(), WM_LBUTTONUP, 0, MAKELPARAM(60, 20));
        }
    });
    click(Ctl::bbUpload);
    pump.onPump({});
    EXPECT_GE(ackedWhenAsked, 50);
    EXPECT_GE(ackedWhenDropped, ackedWhenDragged + 200);
    ASSERT_EQ(operations.lastOutcome(), OperationOutcome::Finished) << textOf(Ctl::meLog);
    EXPECT_EQ(operations.facts().written.flashAcknowledged, 2016);
    EXPECT_EQ(operations.facts().written.eepromAcknowledged, 16);
    EXPECT_TRUE(::IsWindow(window.handle()));
    RECT after;
    ::GetWindowRect(window.handle(), &after);
    EXPECT_NE(after.left, before.left);  // it moved with the mouse
}

}  // namespace
}  // namespace canprog
