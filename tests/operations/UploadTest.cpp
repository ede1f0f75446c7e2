#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "ModuleFixture.h"
#include "base/Sha256.h"
#include "config/ParameterImage.h"
#include "firmware/FirmwareLoader.h"
#include "operations/SupportLog.h"
#include "serial/SlExcept.h"
#include "support/PtyPair.h"

namespace canprog {
namespace {

using testing::dataFile;
using testing::LogWatcher;

class UploadTest : public ::testing::Test, public testing::ModuleFixture {
  protected:
    static std::string halfWritten(int flash, int flashTotal, int eeprom, int eepromTotal) {
        return "The module is only partly written (acknowledged blocks: FLASH " +
               std::to_string(flash) + "/" + std::to_string(flashTotal) + ", EEPROM " +
               std::to_string(eeprom) + "/" + std::to_string(eepromTotal) +
               "). The bootloader's own area is untouched, so writing the file again repairs the "
               "module.";
    }
    OperationOutcome write(const std::string& file) {
        form.firmwareFileName = dataFile(file);
        return operations.upload();
    }
};

TEST_F(UploadTest, FullUploadWritesBothMemoriesAndRestarts) {
    startModule();
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::Finished);

    FirmwareImages expected;
    ASSERT_TRUE(loadFirmwareFile(dataFile("good.hexfw"), true, expected).loaded());
    const sim::ModuleMemory memory = module->memory();
    EXPECT_TRUE(std::equal(memory.flash.begin() + 0x200, memory.flash.end(),
                           expected.flashImage.begin() + 0x200));
    EXPECT_EQ(memory.flash[0x000], 0xFF);  // the bootloader's own area is never sent
    EXPECT_TRUE(
        std::equal(memory.eeprom.begin(), memory.eeprom.end(), expected.eepromImage.begin()));

    ASSERT_TRUE(testing::eventually([&] { return module->frames().size() == 2016u + 16u + 1u; }))
        << module->frames().size();
    const auto frames = module->frames();
    EXPECT_EQ(frames.front().command, WRITE_FLASH);
    EXPECT_EQ(frames.front().address, 0x0200u);
    EXPECT_EQ(frames[2015].address, 0x7FF0u);
    EXPECT_EQ(frames[2016].command, WRITE_EEPROM);
    EXPECT_EQ(frames[2016].address, 0x00u);
    EXPECT_EQ(frames[2031].address, 0xF0u);
    EXPECT_EQ(frames.back().command, RESTART);
    EXPECT_TRUE(
        std::all_of(frames.begin(), frames.end(), [](const auto& f) { return f.checksumOk; }));

    EXPECT_EQ(log(),
              (std::vector<std::string>{"Waiting for bootloader...", "OK", "FLASH writing...",
                                        "EEPROM writing...", "Finished"}));
    EXPECT_EQ(form.text(Ctl::Edit1), "Finished.");
    EXPECT_FALSE(operations.ComPort().Open());
    EXPECT_EQ(form.control(Ctl::ProgressBar).position, 0);
}

// Before the frames the log says how long they take at the line's rate; while they are sent,
// the status line and the progress bar's text (its value for a screen reader) say the time
// left, counting down to nothing, and the bar's text is gone once the write has ended.
TEST_F(UploadTest, TheWriteSaysHowLongItTakesAndThenTheTimeLeft) {
    startModule();
    operations.writeChecks.showTimes = true;
    testing::TextWatcher status(form, Ctl::Edit1);
    testing::TextWatcher bar(form, Ctl::ProgressBar);
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::Finished);
    // 2016 + 16 frames of 23 bytes at 9600 baud.
    const auto expected = std::find(log().begin(), log().end(), "The write takes about 49 s");
    ASSERT_NE(expected, log().end());
    EXPECT_EQ(*std::next(expected), "FLASH writing...");
    const auto left = [](const std::vector<std::string>& texts, const std::string& start) {
        return std::count_if(texts.begin(), texts.end(), [&](const std::string& text) {
            return text.rfind(start, 0) == 0 && text.find(" s left") != std::string::npos;
        });
    };
    EXPECT_GT(left(status.texts, "FLASH writing... — "), 0);
    EXPECT_GT(left(status.texts, "EEPROM writing... — "), 0);
    ASSERT_GE(bar.texts.size(), 2u);
    EXPECT_EQ(bar.texts[bar.texts.size() - 2], "0 s left");
    EXPECT_EQ(bar.texts.back(), "");
    EXPECT_EQ(form.text(Ctl::Edit1), "Finished.");
}

// "Save log..." after a write: the head names the program, the port, the module's device ID
// and its versions before and after, the firmware file and its SHA-256; then the log's lines.
TEST_F(UploadTest, TheSavedLogBeginsWithWhatSupportNeedsToKnow) {
    startModule();
    operations.writeChecks.readModuleFirst = true;
    operations.writeChecks.verify = true;
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::Finished);
    const std::string saved =
        (std::filesystem::temp_directory_path() / ("canprog-log-" + std::to_string(::getpid())))
            .string();
    shell.nextSave = saved;
    SaveLogClick(form, operations, "canprog 9.9");
    std::string text;
    std::string why;
    ASSERT_TRUE(readFileBytes(saved, text, why)) << why;
    std::filesystem::remove(saved);
    std::string bytes;
    ASSERT_TRUE(readFileBytes(dataFile("good.hexfw"), bytes, why));
    FirmwareImages file;
    ASSERT_TRUE(loadFirmwareFile(dataFile("good.hexfw"), true, file).loaded());
    for (const std::string& line :
         {std::string("canprog 9.9\nSystem: "), "\nPort: " + module->devicePath() + "\n",
          std::string("\nDevice ID: 12:34\nVersion before: DEMO 1.00\n"),
          "\nVersion after: " + programVersionText(file.eepromImage) + "\n",
          "\nFirmware file: good.hexfw\nSHA-256: " + sha256Hex(bytes) + "\nTime: ",
          std::string("\n\nWaiting for bootloader...\nOK\n"), std::string("\nFinished\n")}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n---\n" << text;
    }
    EXPECT_EQ(log().back(), "The log is saved in " + saved.substr(saved.rfind('/') + 1));
}

TEST_F(UploadTest, FileWithoutEepromDataSkipsTheEepromPhase) {
    startModule();
    ASSERT_EQ(write("flash_only.hexfw"), OperationOutcome::Finished);
    // The restart is the last frame sent; the module may still be reading it.
    EXPECT_TRUE(testing::eventually([&] { return framesOf(RESTART).size() == 1u; }));
    EXPECT_TRUE(framesOf(WRITE_EEPROM).empty());
    EXPECT_EQ(framesOf(WRITE_FLASH).size(), 2016u);
    EXPECT_EQ(log().back(), "Finished");
    EXPECT_EQ(form.text(Ctl::Edit1), "Finished.");
    EXPECT_EQ(module->memory().flash[0x200], 0x12);
}

TEST_F(UploadTest, FileWithoutFlashDataGoesStraightToTheEeprom) {
    startModule();
    ASSERT_EQ(write("eeprom_only.hexfw"), OperationOutcome::Finished);
    EXPECT_TRUE(framesOf(WRITE_FLASH).empty());
    EXPECT_EQ(framesOf(WRITE_EEPROM).size(), 16u);
    EXPECT_EQ(log(),
              (std::vector<std::string>{"Waiting for bootloader...", "OK", "No code to program",
                                        "EEPROM writing...", "Finished"}));
    EXPECT_EQ(module->memory().eeprom[0x00], 0x21);
    EXPECT_EQ(module->memory().eeprom[0x10], 0xFF);  // the rest of the image goes out as 0xFF
}

TEST_F(UploadTest, OnBatteryTheLogFirstSaysThatClosingTheLidStopsTheWrite) {
    shell.onBattery = true;
    startModule();
    ASSERT_EQ(write("eeprom_only.hexfw"), OperationOutcome::Finished);
    EXPECT_EQ(log().front(),
              "The computer runs on its battery: closing the laptop's lid stops the write.");
    EXPECT_EQ(log()[1], "Waiting for bootloader...");
}

TEST_F(UploadTest, RejectedFirstFlashBlockStopsWithItsAddressAndCode) {
    sim::SimOptions options;
    options.faults.rejectFlashBlock = std::pair{32, 3};
    startModule(options);
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::Rejected);
    EXPECT_EQ(log()[log().size() - 2], "FLASH writing error00000200; error code 3");
    EXPECT_EQ(log().back(), halfWritten(0, 2016, 0, 16));
    EXPECT_TRUE(framesOf(RESTART).empty());
    EXPECT_EQ(framesOf(WRITE_FLASH).size(), 1u);
    EXPECT_FALSE(operations.ComPort().Open());
}

TEST_F(UploadTest, RejectedEepromBlock) {
    sim::SimOptions options;
    options.faults.rejectEepromBlock = std::pair{4, 7};
    startModule(options);
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::Rejected);
    EXPECT_EQ(log()[log().size() - 2], "EEPROM writing error; error code 7");
    EXPECT_EQ(log().back(), halfWritten(2016, 2016, 4, 16));
    EXPECT_EQ(framesOf(WRITE_EEPROM).size(), 5u);
    EXPECT_TRUE(framesOf(RESTART).empty());
    EXPECT_FALSE(operations.ComPort().Open());
}

TEST_F(UploadTest, SilentModuleGivesUpAfterAboutThirtyAttempts) {
    sim::SimOptions options;
    options.faults.neverAnswer = true;
    startModule(options);
    // The pumps of the wake-up loop alone, from its first line to its last.
    int pumpsAtStart = -1;
    int pumpsAtEnd = -1;
    LogWatcher watcher(form, [&](const std::string& line) {
        if (line == "Waiting for bootloader...") pumpsAtStart = pump.pumps();
        if (line == "Bootloader no response") pumpsAtEnd = pump.pumps();
    });
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::NoBootloader);
    EXPECT_EQ(log(),
              (std::vector<std::string>{"Waiting for bootloader...", "Bootloader no response",
                                        "Check the cable, the module's power and the chosen port",
                                        "Nothing was written: the module is unchanged."}));
    EXPECT_FALSE(operations.ComPort().Open());
    EXPECT_EQ(form.countdown().timeoutTicks(), 0);
    // One tick a pump of the wake-up loop: about thirty attempts.
    EXPECT_GE(pumpsAtEnd - pumpsAtStart, 28);
    EXPECT_LE(pumpsAtEnd - pumpsAtStart, 32);
}

TEST_F(UploadTest, CancelDuringTheWakeUp) {
    sim::SimOptions options;
    options.faults.neverAnswer = true;
    startModule(options);
    pump.onPump([this] {
        if (pump.pumps() == 3) form.click(Ctl::Button1);
    });
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::Cancelled);
    EXPECT_EQ(log(), (std::vector<std::string>{"Waiting for bootloader...", "Cancel",
                                               "Nothing was written: the module is unchanged."}));
    EXPECT_FALSE(operations.ComPort().Open());
}

TEST_F(UploadTest, CancelWhileWaitingForAStatusByte) {
    sim::SimOptions options;
    options.faults.silentAfterFrames = 10;
    startModule(options);
    pump.onPump([this] {
        if (module->frames().size() == 11 && form.countdown().timeoutTicks() > 0)
            form.click(Ctl::Button1);
    });
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::Cancelled);
    EXPECT_EQ(log()[log().size() - 2], "Cancel");
    EXPECT_EQ(log().back(), halfWritten(10, 2016, 0, 16));
    EXPECT_FALSE(operations.ComPort().Open());
    EXPECT_EQ(form.control(Ctl::ProgressBar).position, 0);
}

// Presses Cancel at the pump that follows the bar reaching `position`: the write's single pump
// between an acknowledged block and the next frame.
class CancelAfterBlock : public ModelListener {
  public:
    CancelAfterBlock(MainForm& form, SystemPump& pump, int position) : form_(form) {
        form.addListener(this);
        pump.onPump([this] {
            if (armed_) form_.click(Ctl::Button1);
            armed_ = false;
        });
        position_ = position;
    }
    ~CancelAfterBlock() override { form_.removeListener(this); }
    void controlChanged(Ctl id, Change what) override {
        if (id == Ctl::ProgressBar && what == Change::Progress &&
            form_.control(id).position == position_) {
            armed_ = true;
        }
    }

  private:
    MainForm& form_;
    int position_;
    bool armed_ = false;
};

TEST_F(UploadTest, CancelBetweenTwoWaitsIsNotLostAndSendsNoFurtherFrame) {
    startModule();
    CancelAfterBlock cancel(form, pump, 36);
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::Cancelled);
    EXPECT_EQ(log()[log().size() - 2], "Cancel");
    EXPECT_EQ(log().back(), halfWritten(5, 2016, 0, 16));
    // Blocks 32 to 36 were written; block 37 never left.
    EXPECT_FALSE(testing::eventually([&] { return framesOf(WRITE_FLASH).size() > 5u; },
                                     std::chrono::milliseconds(200)));
    EXPECT_EQ(framesOf(WRITE_FLASH).size(), 5u);
    EXPECT_TRUE(framesOf(RESTART).empty());
    EXPECT_FALSE(operations.ComPort().Open());
}

TEST_F(UploadTest, ACancelBeforeTheFirstFrameWritesNothing) {
    startModule();
    // Cancel at every pump, the one in which the wake-up takes the answer included.
    pump.onPump([this] { form.click(Ctl::Button1); });
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::Cancelled);
    EXPECT_EQ(log()[log().size() - 2], "Cancel");
    EXPECT_EQ(log().back(), "Nothing was written: the module is unchanged.");
    EXPECT_FALSE(testing::eventually([&] { return !module->frames().empty(); },
                                     std::chrono::milliseconds(200)));
    EXPECT_FALSE(operations.ComPort().Open());
}

TEST_F(UploadTest, EveryWaitRunsWithALiveCountdown) {
    // The module acknowledges block 40 and then falls silent. In the pump that takes block 40's
    // acknowledgement the countdown also runs out, which stops the ticker; the wait for block
    // 41 must still end, by its own time-out.
    sim::SimOptions options;
    options.faults.silentAfterFrames = 9;
    startModule(options);
    bool stopped = false;
    bool waitedWithoutTicker = false;
    pump.onPump([&] {
        const auto flashFrames = framesOf(WRITE_FLASH).size();
        if (!stopped && flashFrames == 9 && operations.ComPort().ByteAvailable()) {
            form.countdown().start(1);
            form.TimeoutTickerTimer();  // the tick that falls due in the same pump
            stopped = true;
        } else if (stopped && flashFrames == 10 && form.countdown().timeoutTicks() > 0 &&
                   !form.countdown().tickerEnabled()) {
            waitedWithoutTicker = true;
            form.click(Ctl::Button1);  // end what would otherwise be a hang
        }
    });
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::TransmissionError);
    EXPECT_TRUE(stopped);
    EXPECT_FALSE(waitedWithoutTicker);
    EXPECT_EQ(log()[log().size() - 3], "Error data transmission");
}

TEST_F(UploadTest, AWriteThatStopsAtBlockHundredSaysTheModuleIsHalfWritten) {
    sim::SimOptions options;
    options.faults.silentAfterFrames = 100;  // no status for the 101st frame, FLASH block 132
    startModule(options);
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::TransmissionError);
    EXPECT_EQ(log()[log().size() - 3], "Error data transmission");
    // Why, as a pulled cable gets its reason, then how far the write got.
    EXPECT_EQ(log()[log().size() - 2], "The module stopped answering (" + module->devicePath() +
                                           "): check the module's power and the cable");
    EXPECT_EQ(log().back(), halfWritten(100, 2016, 0, 16));
    EXPECT_FALSE(operations.ComPort().Open());
    // Written again, the module is whole.
    module.reset();
    startModule();
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::Finished);
    EXPECT_EQ(log().back(), "Finished");
}

TEST_F(UploadTest, DeviceVanishingMidUploadEndsTheWriteCleanly) {
    sim::SimOptions options;
    options.faults.hangUpAfterFrames = 50;
    startModule(options);
    const std::string device = module->devicePath();
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::DeviceLost);
    EXPECT_EQ(log(), (std::vector<std::string>{"Waiting for bootloader...", "OK",
                                               "FLASH writing...", "Error data transmission",
                                               "Lost the connection to the module (" + device +
                                                   "): check the cable and the module's power",
                                               halfWritten(49, 2016, 0, 16)}));
    EXPECT_FALSE(form.operationRunning());
    EXPECT_FALSE(form.countdown().tickerEnabled());
    EXPECT_FALSE(operations.ComPort().Open());
    EXPECT_EQ(form.control(Ctl::ProgressBar).position, 0);
    EXPECT_EQ(operations.link().lostDeviceReason(), "Device read error");
    // The next operation finds no module, and says so.
    EXPECT_EQ(operations.readVersion(), OperationOutcome::PortError);
    EXPECT_EQ(log()[0], "Error opening port");
    EXPECT_EQ(log()[1].rfind(device + ": there is no such port", 0), 0u) << log()[1];
}

TEST_F(UploadTest, ABlockAnsweredRightAfterACancelCountsAsWritten) {
    sim::SimOptions slow;
    slow.writeTime = std::chrono::milliseconds(40);  // the status comes after the Cancel
    startModule(slow);
    pump.onPump([this] {
        if (framesOf(WRITE_EEPROM).size() == 2 && form.countdown().timeoutTicks() > 0) {
            form.click(Ctl::Button1);
        }
    });
    ASSERT_EQ(write("eeprom_only.hexfw"), OperationOutcome::Cancelled);
    EXPECT_EQ(framesOf(WRITE_EEPROM).size(), 2u);
    // Both blocks were answered; only EEPROM was to be written.
    EXPECT_EQ(log().back(),
              "The module is only partly written (acknowledged blocks: EEPROM 2/16). The "
              "bootloader's own area is untouched, so writing the file again repairs the module.");
}

TEST_F(UploadTest, ALostConnectionNamesTheDeviceThatWasOpen) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("canprog-lost-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    ::setenv("CANPROG_PORTS", folder.c_str(), 1);
    sim::SimOptions pulled;
    pulled.faults.hangUpAfterFrames = 50;
    startModule(pulled);
    const std::string device = module->devicePath();
    std::filesystem::create_symlink(device, folder / "COM7");
    operations.ComPort().SetDevicePath("");
    form.selectPortNumber(7);
    // The port map's link goes with the module, as the simulator removes it when it ends.
    pump.onPump([&] {
        if (framesOf(WRITE_FLASH).size() >= 40) std::filesystem::remove(folder / "COM7");
    });
    EXPECT_EQ(write("good.hexfw"), OperationOutcome::DeviceLost);
    ::unsetenv("CANPROG_PORTS");
    std::filesystem::remove_all(folder);
    EXPECT_NE(std::find(log().begin(), log().end(),
                        "Lost the connection to the module (COM7 (" + device +
                            ")): check the cable and the module's power"),
              log().end());
}

TEST_F(UploadTest, MissingDeviceIsAPortError) {
    operations.ComPort().SetDevicePath("/dev/canprog-none");
    form.firmwareFileName = dataFile("good.hexfw");
    ASSERT_EQ(operations.upload(), OperationOutcome::PortError);
    ASSERT_EQ(log().size(), 3u);
    EXPECT_EQ(log()[0], "Error opening port");
    EXPECT_EQ(log()[1].rfind("/dev/canprog-none: there is no such port", 0), 0u) << log()[1];
    EXPECT_EQ(log()[2], "Nothing was written: the module is unchanged.");
}

TEST_F(UploadTest, OperationsNeverNest) {
    startModule();
    int nested = 0;
    pump.onPump([&] {
        if (nested == 0 && !module->frames().empty()) {
            nested = 1;
            form.click(Ctl::Button2);  // ignored while the write runs
            form.click(Ctl::bbUpload);
        }
    });
    form.setEnabled(Ctl::bbUpload, true);
    ASSERT_EQ(write("good.hexfw"), OperationOutcome::Finished);
    EXPECT_TRUE(testing::eventually([&] { return framesOf(RESTART).size() == 1u; }));
    EXPECT_TRUE(framesOf(READ_EEPROM).empty());
}

TEST_F(UploadTest, RandomKeyScramblesEveryFrameAfterTheChange) {
    startModule();
    form.setChecked(Ctl::PICencoding, true);
    ASSERT_EQ(write("flash_only.hexfw"), OperationOutcome::Finished);
    ASSERT_TRUE(testing::eventually([&] { return framesOf(RESTART).size() == 1u; }));
    const auto frames = module->frames();
    const std::uint8_t key = frames.front().key;
    EXPECT_NE(key, 0);
    EXPECT_NE(key, 255);
    EXPECT_TRUE(
        std::all_of(frames.begin(), frames.end(), [&](const auto& f) { return f.key == key; }));
    EXPECT_EQ(frames.back().command, RESTART);
    EXPECT_TRUE(
        std::all_of(frames.begin(), frames.end(), [](const auto& f) { return f.checksumOk; }));

    form.setChecked(Ctl::PICencoding, false);
    ASSERT_EQ(operations.readVersion(), OperationOutcome::Finished);
    EXPECT_EQ(module->frames().back().key, initialLinkKey);
}

// An adapter that holds each reply 16 ms, at the line's own pace: after 64 frames the log says
// so once, with what it costs and what to do; a quick adapter gets no such line.
TEST_F(UploadTest, ASlowAdapterIsSaidPlainlyOnceAndAQuickOneIsNot) {
    for (const auto delay : {std::chrono::milliseconds(16), std::chrono::milliseconds(0)}) {
        SCOPED_TRACE(delay.count());
        sim::SimOptions options;
        options.lineRate = true;
        options.replyDelay = delay;
        startModule(options);
        form.clearLines(Ctl::meLog);
        pump.onPump([&] {
            // Long enough to be judged, then stopped: the rest would only repeat it.
            if (operations.facts().written.flashAcknowledged >= 70) form.click(Ctl::Button1);
        });
        ASSERT_EQ(write("good.hexfw"), OperationOutcome::Cancelled);
        pump.onPump({});
        const auto said = std::count_if(log().begin(), log().end(), [](const std::string& line) {
            return line.rfind("The adapter holds every reply of the module for about ", 0) == 0;
        });
        if (delay.count() == 0) {
            EXPECT_EQ(said, 0);
            continue;
        }
        ASSERT_EQ(said, 1);
        const auto line = std::find_if(log().begin(), log().end(), [](const std::string& line) {
            return line.rfind("The adapter holds", 0) == 0;
        });
        // About 16 ms a frame, however busy the machine: a generous range, never a figure.
        const auto at = line->find("for about ");
        ASSERT_NE(at, std::string::npos);
        const int delay_ms = std::stoi(line->substr(at + 10));
        EXPECT_GE(delay_ms, 10) << *line;
        EXPECT_LE(delay_ms, 40) << *line;
        EXPECT_TRUE(line->ends_with(
            "A shorter latency in the adapter driver's settings, or another adapter, makes it "
            "faster."))
            << *line;
    }
}

}  // namespace
}  // namespace canprog
