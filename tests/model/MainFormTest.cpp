#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "model/AccessibleNames.h"
#include "model/BrandTable.h"

#include "support/FormFixture.h"

namespace canprog {
namespace {

using testing::FormFixture;

class MainFormTest : public ::testing::Test, public FormFixture {
  protected:
    void SetUp() override { startUp(form); }
};

// At start, what needs a file (Write, the program list) or a read of the module (Saving, its
// CAN program arrow) ignores a click, and what needs nothing answers it; a button enabled
// later answers. The module's fields show their start values, and no countdown runs.
TEST_F(MainFormTest, AtStartWhatNeedsAFileOrAReadIgnoresClicksAndTheRestAnswers) {
    std::map<Ctl, int> runs;
    const std::vector<Ctl> waiting = {Ctl::bbUpload, Ctl::bbHelp, Ctl::BitBtn1, Ctl::BitBtn3};
    const std::vector<Ctl> ready = {Ctl::bbOpen,       Ctl::Button2,         Ctl::BitBtn2,
                                    Ctl::FindFirmware, Ctl::CheckConnection, Ctl::SaveLog};
    for (const auto& ids : {waiting, ready}) {
        for (Ctl id : ids) {
            form.bindClick(id, [&runs, id] { ++runs[id]; });
            form.click(id);
        }
    }
    for (Ctl id : waiting) EXPECT_EQ(runs[id], 0) << controlName(id);
    for (Ctl id : ready) EXPECT_EQ(runs[id], 1) << controlName(id);
    form.setEnabled(Ctl::bbUpload, true);
    form.click(Ctl::bbUpload);
    EXPECT_EQ(runs[Ctl::bbUpload], 1);

    EXPECT_EQ(form.text(Ctl::MaskEdit1), "11");
    EXPECT_EQ(form.text(Ctl::MaskEdit2), "11");
    EXPECT_EQ(form.text(Ctl::PIN), "    ");
    clock.advance(std::chrono::milliseconds(100));
    EXPECT_FALSE(form.countdown().takeDueTick());
    EXPECT_EQ(form.countdown().timeoutTicks(), 0);
    const auto& ports = form.control(Ctl::cbPort).lines;
    ASSERT_EQ(ports.size(), 12u);
    EXPECT_EQ(ports.front(), "COM1");
    EXPECT_EQ(ports.back(), "COM12");
    EXPECT_EQ(form.selectedPortIndex(), 0);
}

TEST_F(MainFormTest, DeveloperControlsAreHiddenWithTheirDefaults) {
    for (Ctl id : {Ctl::EEPROM, Ctl::DecodeON, Ctl::All_memory}) {
        EXPECT_TRUE(form.checked(id)) << controlName(id);
        EXPECT_FALSE(form.visible(id)) << controlName(id);
    }
    for (Ctl id : {Ctl::PICencoding, Ctl::DeviceID, Ctl::Flash_size}) {
        EXPECT_FALSE(form.checked(id)) << controlName(id);
        EXPECT_FALSE(form.visible(id)) << controlName(id);
    }
    for (Ctl id : {Ctl::Edit1, Ctl::Memo1, Ctl::Clear, Ctl::lang8, Ctl::lang9}) {
        EXPECT_FALSE(form.visible(id)) << controlName(id);
    }
    // All seven languages can be chosen.
    for (Ctl id :
         {Ctl::lang1, Ctl::lang2, Ctl::lang3, Ctl::lang4, Ctl::lang5, Ctl::lang6, Ctl::lang7}) {
        EXPECT_TRUE(form.visible(id)) << controlName(id);
    }
}

TEST_F(MainFormTest, OptionPairsStartOnTheirFirstChoiceAndExcludeEachOther) {
    for (Ctl id : {Ctl::RadioButton4, Ctl::RadioButton6, Ctl::RadioButton8, Ctl::RadioButton10,
                   Ctl::RadioButton12, Ctl::RadioButton14, Ctl::RadioButton16, Ctl::RadioButton18,
                   Ctl::RadioButton20, Ctl::RadioButton22}) {
        EXPECT_TRUE(form.checked(id)) << controlName(id);
    }
    form.click(Ctl::RadioButton5);
    EXPECT_TRUE(form.checked(Ctl::RadioButton5));
    EXPECT_FALSE(form.checked(Ctl::RadioButton4));
    EXPECT_TRUE(form.checked(Ctl::RadioButton6));
}

TEST_F(MainFormTest, RadioBehaviourRunsOnlyWhenTheButtonBecomesChecked) {
    int runs = 0;
    form.bindClick(Ctl::RadioButton23, [&] { ++runs; });
    form.click(Ctl::RadioButton23);
    form.click(Ctl::RadioButton23);
    form.setChecked(Ctl::RadioButton23, true);
    EXPECT_EQ(runs, 1);
    form.setChecked(Ctl::RadioButton22, true);
    EXPECT_FALSE(form.checked(Ctl::RadioButton23));
    EXPECT_EQ(runs, 1);
}

TEST_F(MainFormTest, CheckBoxBehaviourRunsOnEveryChange) {
    int runs = 0;
    form.bindClick(Ctl::CheckBox2, [&] { ++runs; });
    form.click(Ctl::CheckBox2);
    EXPECT_TRUE(form.checked(Ctl::CheckBox2));
    form.setChecked(Ctl::CheckBox2, false);
    form.setChecked(Ctl::CheckBox2, false);
    EXPECT_EQ(runs, 2);
}

TEST_F(MainFormTest, ClearEmptiesTheDiagnosticMemo) {
    form.addLine(Ctl::Memo1, "0 00 FF");
    form.ClearClick();
    EXPECT_TRUE(form.control(Ctl::Memo1).lines.empty());
}

class CountingListener : public ModelListener {
  public:
    void controlChanged(Ctl id, Change what) override {
        if (id == Ctl::meLog && what == Change::LineAdded) ++linesAdded;
        if (what == Change::Text) ++texts;
    }
    void windowCaptionChanged() override { ++captions; }
    int linesAdded = 0;
    int texts = 0;
    int captions = 0;
};

TEST_F(MainFormTest, ListenersHearOfChangesAndNotOfRepeats) {
    CountingListener listener;
    form.addListener(&listener);
    form.logMessage(13);
    form.setText(Ctl::Edit1, "Finished.");
    form.setText(Ctl::Edit1, "Finished.");
    form.zmiana_logo('3');
    form.removeListener(&listener);
    form.logMessage(13);
    EXPECT_EQ(listener.linesAdded, 1);
    EXPECT_EQ(listener.texts, 1);
    EXPECT_EQ(listener.captions, 1);
    EXPECT_EQ(form.logLines().back(), "Finished");
}

TEST_F(MainFormTest, ProgressPositionStaysWithinTheRange) {
    form.setProgressRange(Ctl::ProgressBar, 0, 30);
    form.setProgressPosition(Ctl::ProgressBar, 30);
    form.setProgressMinimum(Ctl::ProgressBar, 32);
    EXPECT_EQ(form.control(Ctl::ProgressBar).position, 32);
    EXPECT_EQ(form.control(Ctl::ProgressBar).maximum, 32);
    form.setProgressPosition(Ctl::ProgressBar, -5);
    EXPECT_EQ(form.control(Ctl::ProgressBar).position, 32);
}

TEST_F(MainFormTest, PortSelectionStaysInTheList) {
    form.selectPort(11);
    EXPECT_EQ(form.selectedPortIndex(), 11);
    form.selectPort(40);
    EXPECT_EQ(form.selectedPortIndex(), 11);
    form.selectPort(-1);
    EXPECT_EQ(form.selectedPortIndex(), 0);
}

TEST_F(MainFormTest, ThePortListSaysWhatIsThereAndAddsHigherPorts) {
    using serial::PresentPort;
    ASSERT_EQ(form.control(Ctl::cbPort).lines.size(), 12u);
    form.selectPort(2);  // COM3
    form.showPorts({PresentPort{5, "", false, "FT232R USB UART", ""},
                    PresentPort{17, "", false, "USB-SERIAL CH340", ""},
                    PresentPort{3, "", false, "", ""}});
    const auto& lines = form.control(Ctl::cbPort).lines;
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], "COM1");
    EXPECT_EQ(lines[4], "COM5 \u2014 FT232R USB UART");
    EXPECT_EQ(lines[11], "COM12");
    EXPECT_EQ(lines[12], "COM17 \u2014 USB-SERIAL CH340");
    EXPECT_EQ(form.selectedPortNumber(), 3);  // the chosen port stays chosen
    form.selectPort(12);
    EXPECT_EQ(form.selectedPortNumber(), 17);

    // The adapter on COM17 is pulled, another appears on COM9: the list follows.
    form.showPorts({PresentPort{9, "", false, "USB Serial Device", ""}});
    EXPECT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[8], "COM9 \u2014 USB Serial Device");
    EXPECT_EQ(lines[4], "COM5");
    EXPECT_EQ(form.selectedPortNumber(), 1);  // COM17 has gone

    // A port named on the command line gets an entry of its own.
    form.selectPortNumber(42);
    EXPECT_EQ(lines.back(), "COM42");
    EXPECT_EQ(form.selectedPortNumber(), 42);
    form.selectPortNumber(7);
    EXPECT_EQ(form.selectedPortIndex(), 6);
}

TEST_F(MainFormTest, ClosingAsksOnlyWhileAWriteRuns) {
    EXPECT_EQ(form.closeQuestion(), std::nullopt);
    ASSERT_TRUE(form.beginOperation(OperationKind::Read));
    EXPECT_EQ(form.closeQuestion(), std::nullopt);  // a read loses nothing when it stops
    form.endOperation();
    ASSERT_TRUE(form.beginOperation(OperationKind::FirmwareWrite));
    EXPECT_EQ(form.closeQuestion(), WindowText::StopFirmwareWrite);
    form.endOperation();
    ASSERT_TRUE(form.beginOperation(OperationKind::ParameterWrite));
    EXPECT_EQ(form.closeQuestion(), WindowText::StopParameterWrite);
    form.endOperation();
    EXPECT_EQ(shell.awake, (std::vector<bool>{true, false, true, false, true, false}));
}

// Every control a window shows has a name a screen reader can say, in every language, without
// the blanks that pad some captions.
TEST_F(MainFormTest, EveryShownControlHasANameInEveryLanguage) {
    for (char code = '0'; code <= '6'; ++code) {
        form.languageCode = code;
        form.zmiana_jezyka(code);
        for (std::size_t i = 0; i < kControlCount; ++i) {
            const auto id = static_cast<Ctl>(i);
            if (!form.visible(id) && !isLogo(id)) continue;
            const std::string name = accessibleName(form, id);
            EXPECT_FALSE(name.empty()) << controlName(id) << " " << code;
            EXPECT_EQ(name, withoutPadding(name)) << controlName(id) << " " << code;
        }
        EXPECT_FALSE(spinArrowName(form, MainForm::Arrow::Up).empty());
        EXPECT_FALSE(spinArrowName(form, MainForm::Arrow::Down).empty());
        for (std::size_t text = 0; text < kWindowTextCount; ++text) {
            EXPECT_FALSE(form.windowText(static_cast<WindowText>(text)).empty()) << text;
        }
    }
    EXPECT_EQ(accessibleDescription(form, Ctl::sarnic_image),
              std::string(brandForKey('8')->webAddress));
}

}  // namespace
}  // namespace canprog
