#include <gtest/gtest.h>

#include "config/OptionControls.h"
#include "support/FormFixture.h"

namespace canprog {
namespace {

class OptionControlsTest : public ::testing::Test, public testing::FormFixture {
  protected:
    void SetUp() override {
        startUp(form);
        bindOptionControls(form);
    }
    int stepFrom(int start, MainForm::Arrow arrow, Ctl spin = Ctl::SpinButton1) {
        form.canProgramNumber = static_cast<unsigned char>(start);
        form.spinClick(spin, arrow);
        return form.canProgramNumber;
    }
};

TEST_F(OptionControlsTest, SpinButtonsWalkElevenToNinetyNineWithoutZeros) {
    using Arrow = MainForm::Arrow;
    struct Case {
        int from;
        Arrow arrow;
        int to;
    };
    for (const Case& c :
         {Case{11, Arrow::Down, 11}, Case{99, Arrow::Up, 99}, Case{19, Arrow::Up, 21},
          Case{21, Arrow::Down, 19}, Case{12, Arrow::Down, 11}, Case{165, Arrow::Up, 99},
          Case{165, Arrow::Down, 164}, Case{0, Arrow::Up, 1}, Case{0, Arrow::Down, 255},
          Case{20, Arrow::Up, 21}, Case{20, Arrow::Down, 19}}) {
        EXPECT_EQ(stepFrom(c.from, c.arrow), c.to) << c.from;
    }
    stepFrom(165, Arrow::Down, Ctl::SpinButton2);
    EXPECT_EQ(form.text(Ctl::MaskEdit1), "164");
    EXPECT_EQ(form.text(Ctl::MaskEdit2), "164");
}

TEST_F(OptionControlsTest, FsOneAndFsThreeExcludeEachOtherAndFsTwoIsFree) {
    form.click(Ctl::CheckBox1);
    form.click(Ctl::CheckBox3);
    form.click(Ctl::CheckBox2);
    EXPECT_TRUE(form.checked(Ctl::CheckBox2));
    EXPECT_FALSE(form.checked(Ctl::CheckBox3));
    EXPECT_TRUE(form.checked(Ctl::CheckBox1));
    form.click(Ctl::CheckBox3);
    EXPECT_FALSE(form.checked(Ctl::CheckBox2));
    EXPECT_TRUE(form.checked(Ctl::CheckBox3));
    EXPECT_TRUE(form.checked(Ctl::CheckBox1));
    form.click(Ctl::CheckBox3);  // unchecking changes nothing else
    EXPECT_FALSE(form.checked(Ctl::CheckBox2));
}

TEST_F(OptionControlsTest, ModeLetterFollowsTheModeInEveryLanguage) {
    for (Ctl language : {Ctl::lang1, Ctl::lang2, Ctl::lang3, Ctl::lang5, Ctl::lang6, Ctl::lang7}) {
        form.click(language);
        const std::string fi8 = form.text(Ctl::GroupBox8);
        const std::string fi10 = form.text(Ctl::GroupBox10);
        form.click(Ctl::RadioButton23);
        EXPECT_NE(form.text(Ctl::GroupBox8).find("FA"), std::string::npos)
            << form.text(Ctl::GroupBox8);
        EXPECT_NE(form.text(Ctl::GroupBox10).find("FA"), std::string::npos);
        form.click(Ctl::RadioButton22);
        EXPECT_EQ(form.text(Ctl::GroupBox8), fi8);
        EXPECT_EQ(form.text(Ctl::GroupBox10), fi10);
    }
}

TEST_F(OptionControlsTest, LanguageChangeWhileFaShowsTheFiCaptionsUntilTheModeChanges) {
    form.click(Ctl::RadioButton23);
    EXPECT_EQ(form.text(Ctl::GroupBox8), "(4) FA mode ");
    form.click(Ctl::lang1);
    EXPECT_EQ(form.text(Ctl::GroupBox8), "(4) Funkcja FI ");
    form.click(Ctl::RadioButton22);  // finds no A: unchanged
    EXPECT_EQ(form.text(Ctl::GroupBox8), "(4) Funkcja FI ");
    form.click(Ctl::RadioButton23);
    EXPECT_EQ(form.text(Ctl::GroupBox8), "(4) Funkcja FA ");
    EXPECT_EQ(form.text(Ctl::GroupBox10), "(5) Opóźnienie FA");
}

}  // namespace
}  // namespace canprog
