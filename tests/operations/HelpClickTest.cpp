#include <gtest/gtest.h>

#include "operations/HelpHandler.h"
#include "support/FormFixture.h"
#include "support/TestData.h"

namespace canprog {
namespace {

using testing::dataFile;

class HelpClickTest : public ::testing::Test, public testing::FormFixture {
  protected:
    void SetUp() override { startUp(form); }
    HelpWindow help;
};

TEST_F(HelpClickTest, ShowsTheListWithTheLanguageCaptionAndSize) {
    form.firmwareFileName = dataFile("good.hexfw");
    bbHelpClick(form, help);
    EXPECT_TRUE(help.visible());
    EXPECT_EQ(help.caption(), "CAN program list");
    EXPECT_EQ(help.lines(),
              (std::vector<std::string>{"CAN programs", "11 Demo car 2015-2018", "12 Łódź taxi"}));
    EXPECT_EQ(help.outerWidth(), 250);
    EXPECT_EQ(help.outerHeight(), 150);

    form.click(Ctl::lang1);
    form.firmwareFileName = dataFile("help_100_lines.hexfw");
    bbHelpClick(form, help);
    EXPECT_EQ(help.caption(), "Lista programów CAN");
    EXPECT_EQ(help.lines().size(), 100u);
    EXPECT_EQ(help.timesShown(), 2);
}

TEST_F(HelpClickTest, UnreadableFileLogsMessageTwoAndLeavesTheWindow) {
    form.firmwareFileName = dataFile("help_3_lines.hexfw");
    bbHelpClick(form, help);
    form.firmwareFileName = dataFile("missing.hexfw");
    bbHelpClick(form, help);
    EXPECT_EQ(form.logLines(), std::vector<std::string>{"Error loading file"});
    EXPECT_EQ(help.lines().size(), 3u);
    EXPECT_EQ(help.timesShown(), 1);
}

TEST_F(HelpClickTest, NoFileChosenDoesNothing) {
    bbHelpClick(form, help);
    EXPECT_FALSE(help.visible());
    EXPECT_TRUE(form.logLines().empty());
}

}  // namespace
}  // namespace canprog
