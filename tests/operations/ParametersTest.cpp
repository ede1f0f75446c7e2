#include <gtest/gtest.h>

#include "ModuleFixture.h"
#include "config/ParameterBlock.h"
#include "config/ParameterImage.h"
#include "support/PtyPair.h"

namespace canprog {
namespace {

using testing::eventually;

class ParametersTest : public ::testing::Test, public testing::ModuleFixture {
  protected:
    sim::SimOptions moduleWith(std::initializer_list<std::pair<int, int>> bytes) {
        sim::SimOptions options;
        for (const auto& [address, value] : bytes) {
            options.memory.eeprom[static_cast<std::size_t>(address)] =
                static_cast<std::uint8_t>(value);
        }
        return options;
    }
    std::vector<sim::FrameRecord> eepromWrites() const { return framesOf(WRITE_EEPROM); }
    void waitForRestart(int count) {
        EXPECT_TRUE(eventually([&] { return module->restarts() == count; }));
    }
};

TEST_F(ParametersTest, ErasedModuleShowsEverySetBitChoice) {
    sim::SimOptions options;
    options.memory.eeprom.fill(0xFF);
    startModule(options);
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    for (std::size_t row = 0; row < kOptionBits.size(); ++row) {
        const bool fs1 = row == kFs1Row;
        EXPECT_EQ(form.checked(kOptionBits[row].whenSet), !fs1)
            << controlName(kOptionBits[row].whenSet);
    }
    EXPECT_EQ(form.text(Ctl::MaskEdit1), "FF");
    EXPECT_EQ(form.text(Ctl::MaskEdit2), "FF");
    EXPECT_EQ(form.canProgramNumber, 165);
    EXPECT_EQ(form.text(Ctl::PIN), "????");  // no PIN byte is a digit: no valid PIN
    EXPECT_EQ(form.text(Ctl::GroupBox8), "(4) FA mode ");
    EXPECT_EQ(log(), (std::vector<std::string>{"Waiting for bootloader...", "OK",
                                               "Reading EEPROM...", "Finished"}));
    EXPECT_EQ(form.text(Ctl::Edit3), "Finished");
    EXPECT_TRUE(form.enabled(Ctl::BitBtn1));
    EXPECT_TRUE(form.enabled(Ctl::BitBtn3));
    EXPECT_FALSE(operations.ComPort().Open());  // free for other programs once read
}

TEST_F(ParametersTest, SetBlockShowsItsValues) {
    auto options =
        moduleWith({{0x28, 0x37}, {0x26, 1}, {0x66, 2}, {0x27, 3}, {0x67, 4}, {0x61, 0x14}});
    std::fill(options.memory.eeprom.begin() + 0xC0, options.memory.eeprom.begin() + 0xD0, 0xAB);
    startModule(options);
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    EXPECT_EQ(form.text(Ctl::MaskEdit1), "37");
    EXPECT_EQ(form.canProgramNumber, 37);
    EXPECT_EQ(form.text(Ctl::PIN), "1234");
    EXPECT_FALSE(form.checked(Ctl::CheckBox2));
    EXPECT_TRUE(form.checked(Ctl::CheckBox3));
    const auto& memo = form.control(Ctl::Memo1).lines;
    ASSERT_EQ(memo.size(), 17u);
    EXPECT_EQ(memo[12], "12 00 " + std::string(32, 'A').replace(0, 32, [] {
        std::string s;
        for (int i = 0; i < 16; ++i) s += "AB";
        return s;
    }()) + " 50-50");
    EXPECT_EQ(memo[16], "");
}

TEST_F(ParametersTest, WriteSendsTheTwoExamplesBytes) {
    startModule();
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    // All options at their first choice, FS boxes unchecked, mode FI.
    ASSERT_EQ(operations.writeParameters(), OperationOutcome::Finished);
    EXPECT_EQ(module->memory().eeprom[0x21], 0x01);
    EXPECT_EQ(module->memory().eeprom[0x61], 0x00);

    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    form.click(Ctl::RadioButton5);
    for (Ctl second : {Ctl::RadioButton7, Ctl::RadioButton9, Ctl::RadioButton11, Ctl::RadioButton13,
                       Ctl::RadioButton15, Ctl::RadioButton17, Ctl::RadioButton21,
                       Ctl::RadioButton19, Ctl::CheckBox1, Ctl::CheckBox3, Ctl::RadioButton23}) {
        form.click(second);
    }
    ASSERT_EQ(operations.writeParameters(), OperationOutcome::Finished);
    EXPECT_EQ(module->memory().eeprom[0x21], 0xFE);
    EXPECT_EQ(module->memory().eeprom[0x61], 0x9A);
}

TEST_F(ParametersTest, CanProgramTextIsWrittenAsPackedDigits) {
    startModule();
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    form.setText(Ctl::MaskEdit1, "FF");
    ASSERT_EQ(operations.writeParameters(), OperationOutcome::Finished);
    EXPECT_EQ(module->memory().eeprom[0x28], 0xFF);
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    form.spinClick(Ctl::SpinButton1, MainForm::Arrow::Down);  // 165 -> 164
    ASSERT_EQ(operations.writeParameters(), OperationOutcome::Finished);
    EXPECT_EQ(module->memory().eeprom[0x28], 0x16);
}

TEST_F(ParametersTest, WriteThenReadShowsTheSameAndSendsBackEveryOtherByte) {
    startModule();
    const sim::ModuleMemory before = module->memory();
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    form.setText(Ctl::PIN, "9071");
    form.click(Ctl::RadioButton23);
    form.click(Ctl::RadioButton15);
    form.spinClick(Ctl::SpinButton2, MainForm::Arrow::Up);
    ASSERT_EQ(operations.writeParameters(), OperationOutcome::Finished);
    EXPECT_FALSE(form.enabled(Ctl::BitBtn1));
    EXPECT_TRUE(form.enabled(Ctl::BitBtn3));
    EXPECT_FALSE(operations.ComPort().Open());

    const auto writes = eepromWrites();
    ASSERT_EQ(writes.size(), 16u);
    const sim::ModuleMemory after = module->memory();
    for (std::size_t a = 0; a < 256; ++a) {
        if (a == 0x21 || a == 0x61 || a == 0x26 || a == 0x66 || a == 0x27 || a == 0x67 || a == 0x28)
            continue;
        EXPECT_EQ(after.eeprom[a], before.eeprom[a]) << a;
    }
    EXPECT_EQ(after.eeprom[0x26], 9);
    EXPECT_EQ(after.eeprom[0x66], 0);
    EXPECT_EQ(after.eeprom[0x27], 7);
    EXPECT_EQ(after.eeprom[0x67], 1);
    EXPECT_EQ(after.eeprom[0x28], 0x12);

    startUp(form);
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    EXPECT_EQ(form.text(Ctl::PIN), "9071");
    EXPECT_TRUE(form.checked(Ctl::RadioButton23));
    EXPECT_TRUE(form.checked(Ctl::RadioButton15));
    EXPECT_EQ(form.text(Ctl::MaskEdit2), "12");
}

TEST_F(ParametersTest, RejectedBlockSevenStopsWithoutRestart) {
    sim::SimOptions options;
    options.faults.rejectEepromBlock = std::pair{7, 4};
    startModule(options);
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    waitForRestart(1);
    ASSERT_EQ(operations.writeParameters(), OperationOutcome::Rejected);
    EXPECT_EQ(eepromWrites().size(), 8u);
    ASSERT_GE(log().size(), 2u);
    EXPECT_EQ(log()[log().size() - 2], "EEPROM writing error");
    // Blocks 0 to 6 hold the new bytes, so both PIN blocks (2 and 6) were written.
    EXPECT_EQ(log().back(),
              "The module's settings are only partly written (acknowledged EEPROM blocks: 7/16); "
              "PIN now 1234. Writing the settings again repairs the module.");
    // The page's status line says it all, under the message it shows.
    EXPECT_EQ(form.text(Ctl::Edit3), "EEPROM writing error\n" + log().back());
    EXPECT_FALSE(operations.ComPort().Open());
    EXPECT_EQ(module->restarts(), 1);
}

TEST_F(ParametersTest, ReadThatTimesOutOrIsCancelledChangesNothing) {
    startModule();
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    waitForRestart(1);
    const auto image = form.images.eepromImage;
    form.setText(Ctl::PIN, "5555");
    form.click(Ctl::RadioButton23);
    form.setEnabled(Ctl::BitBtn1, false);
    operations.ComPort().SetOpen(false);
    module.reset();

    sim::SimOptions options;
    options.faults.silentAfterFrames = 5;
    std::fill(options.memory.eeprom.begin(), options.memory.eeprom.end(), 0x00);
    startModule(options);
    ASSERT_EQ(operations.readParameters(), OperationOutcome::TransmissionError);
    EXPECT_EQ(log().back(), "Error data transmission");
    EXPECT_EQ(form.images.eepromImage, image);
    EXPECT_EQ(form.text(Ctl::PIN), "5555");
    EXPECT_TRUE(form.checked(Ctl::RadioButton23));
    EXPECT_FALSE(form.enabled(Ctl::BitBtn1));
    EXPECT_TRUE(form.enabled(Ctl::BitBtn3));
    EXPECT_FALSE(operations.ComPort().Open());

    const std::size_t framesBefore = module->frames().size();
    pump.onPump([this, framesBefore] {
        if (module->frames().size() > framesBefore && form.countdown().timeoutTicks() > 0)
            form.click(Ctl::Button1);
    });
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Cancelled);
    EXPECT_EQ(log().back(), "Cancel");
    EXPECT_EQ(form.images.eepromImage, image);
    EXPECT_EQ(form.text(Ctl::PIN), "5555");
}

TEST_F(ParametersTest, PinThatIsNotFourDigitsStopsTheWriteUntouched) {
    startModule();
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    waitForRestart(1);
    operations.ComPort().SetOpen(false);
    const auto image = form.images.eepromImage;
    const std::size_t frames = module->frames().size();
    for (const char* pin : {"12 4", "123", "12a4"}) {
        form.setText(Ctl::PIN, pin);
        EXPECT_EQ(operations.writeParameters(), OperationOutcome::InvalidSetting) << pin;
        // The page's own message in its language, not the runtime's English one.
        EXPECT_EQ(form.text(Ctl::Edit3), "The PIN must be four digits");
    }
    EXPECT_EQ(form.images.eepromImage, image);
    EXPECT_FALSE(operations.ComPort().Open());
    EXPECT_EQ(module->frames().size(), frames);
    EXPECT_FALSE(form.operationRunning());
    EXPECT_THROW(pinDigits("12a4"), std::invalid_argument);
    EXPECT_EQ(pinDigits("0907"), (std::array<std::uint8_t, 4>{0, 9, 0, 7}));
}

TEST_F(ParametersTest, APinThatIsNotFourDigitsShowsAsSuchAndGoesBackAsItWasRead) {
    // 12, 3, 4, 5 would render "12345" and, cut to four positions, pass for PIN 1234.
    startModule(moduleWith({{0x26, 12}, {0x66, 3}, {0x27, 4}, {0x67, 5}}));
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    EXPECT_EQ(form.text(Ctl::PIN), "?345");
    // Another setting changed, the PIN left alone: its bytes go back exactly as they were.
    form.click(Ctl::RadioButton23);
    ASSERT_EQ(operations.writeParameters(), OperationOutcome::Finished);
    const auto memory = module->memory();
    EXPECT_EQ(memory.eeprom[0x26], 12);
    EXPECT_EQ(memory.eeprom[0x66], 3);
    EXPECT_EQ(memory.eeprom[0x27], 4);
    EXPECT_EQ(memory.eeprom[0x67], 5);
    EXPECT_EQ(memory.eeprom[0x61] & 0x80, 0x80);
    // A PIN the user types is stored as typed.
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    form.setText(Ctl::PIN, "4321");
    ASSERT_EQ(operations.writeParameters(), OperationOutcome::Finished);
    EXPECT_EQ(module->memory().eeprom[0x26], 4);
    EXPECT_EQ(module->memory().eeprom[0x67], 1);
    // A half-typed PIN still stops the write untouched.
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    form.setText(Ctl::PIN, "4?21");
    EXPECT_EQ(operations.writeParameters(), OperationOutcome::InvalidSetting);
}

TEST_F(ParametersTest, AnErasedModuleKeepsItsErasedPinUnlessTheUserGivesOne) {
    sim::SimOptions options;
    options.memory.eeprom.fill(0xFF);
    startModule(options);
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    EXPECT_EQ(form.text(Ctl::PIN), "????");
    form.click(Ctl::RadioButton22);  // FI, so that something changes
    ASSERT_EQ(operations.writeParameters(), OperationOutcome::Finished);
    for (std::uint8_t address : {0x26, 0x66, 0x27, 0x67}) {
        EXPECT_EQ(module->memory().eeprom[address], 0xFF) << int(address);
    }
}

TEST_F(ParametersTest, AWriteClickWithABadPinDuringAnotherOperationIsIgnored) {
    startModule();
    form.setText(Ctl::PIN, "12a4");
    form.setEnabled(Ctl::BitBtn1, true);
    bool clicked = false;
    pump.onPump([&] {
        if (clicked || module->frames().empty()) return;
        clicked = true;
        form.click(Ctl::BitBtn1);  // inside the read's pump: must neither throw nor write
    });
    EXPECT_EQ(operations.readParameters(), OperationOutcome::Finished);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(eepromWrites().empty());
}

TEST_F(ParametersTest, ARepliesCheckByteThatFailsIsATransmissionErrorAndNothingIsTaken) {
    startModule();
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    waitForRestart(1);
    const auto image = form.images.eepromImage;
    form.setText(Ctl::PIN, "5555");
    operations.ComPort().SetOpen(false);
    module.reset();

    sim::SimOptions options;
    options.faults.wrongReplyCheck = true;
    std::fill(options.memory.eeprom.begin(), options.memory.eeprom.end(), 0x00);
    startModule(options);
    ASSERT_EQ(operations.readParameters(), OperationOutcome::TransmissionError);
    EXPECT_EQ(log().back(), "Error data transmission");
    EXPECT_EQ(form.text(Ctl::Edit3), "Error data transmission");
    EXPECT_EQ(form.images.eepromImage, image);
    EXPECT_EQ(form.text(Ctl::PIN), "5555");
    // The first block's line shows both check values; the read went no further.
    EXPECT_EQ(framesOf(READ_EEPROM).size(), 1u);
    EXPECT_TRUE(eepromWrites().empty());
}

TEST_F(ParametersTest, ACancelBeforeTheFirstBlockWritesNothing) {
    startModule();
    ASSERT_EQ(operations.readParameters(), OperationOutcome::Finished);
    waitForRestart(1);
    // Cancel at every pump of the write, the one that takes the bootloader's answer included.
    pump.onPump([this] { form.click(Ctl::Button1); });
    ASSERT_EQ(operations.writeParameters(), OperationOutcome::Cancelled);
    EXPECT_EQ(form.text(Ctl::Edit3), "Cancel\nNothing was written: the module is unchanged.");
    EXPECT_FALSE(
        eventually([&] { return !eepromWrites().empty(); }, std::chrono::milliseconds(200)));
    EXPECT_FALSE(operations.ComPort().Open());
}

}  // namespace
}  // namespace canprog
