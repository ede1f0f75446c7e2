#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/ProgressLine.h"
#include "model/MessageIndex.h"
#include "model/PlatformShell.h"

namespace canprog::cli {
namespace {

// The progress line of a FLASH write drawn on a terminal of a given width.
class ProgressLineTest : public ::testing::Test {
  protected:
    ProgressLineTest() {
        startUp(form);
        facts.written.flashTotal = 2016;
    }
    void startFlash() { form.log(form.message(msg::FlashWriting)); }
    void acknowledge(int blocks) {
        for (int i = 0; i < blocks; ++i) {
            ++facts.written.flashAcknowledged;
            form.setText(Ctl::Edit1, std::to_string(30 - i % 2));  // the countdown moves
        }
    }
    // The pieces between carriage returns: what each draw leaves on the line.
    std::vector<std::string> draws() const {
        std::vector<std::string> pieces;
        std::string piece;
        for (const char c : terminal.str()) {
            if (c == '\r') {
                if (!piece.empty()) pieces.push_back(piece);
                piece.clear();
            } else {
                piece += c;
            }
        }
        if (!piece.empty()) pieces.push_back(piece);
        return pieces;
    }

    NoShell shell;
    MainForm form{shell};
    ModuleFacts facts;
    std::ostringstream terminal;
    int columns = 80;
    ProgressLine line{form, facts, terminal, [this] { return columns; }};
};

TEST_F(ProgressLineTest, NeverReachesTheLastColumnAndNeverStartsANewLine) {
    for (const int width : {30, 80, 12}) {
        columns = width;
        terminal.str("");
        startFlash();
        acknowledge(50);
        EXPECT_EQ(terminal.str().find('\n'), std::string::npos) << width;
        for (const auto& draw : draws()) {
            EXPECT_LT(draw.size(), static_cast<std::size_t>(width)) << width << ": " << draw;
        }
        line.end();
    }
}

TEST_F(ProgressLineTest, FollowsTheTerminalWhenItNarrows) {
    columns = 80;
    startFlash();
    acknowledge(5);
    ASSERT_GT(draws().back().size(), 20u);  // "FLASH      5/2016    0%  ..."
    columns = 20;
    terminal.str("");
    acknowledge(5);
    for (const auto& draw : draws()) EXPECT_LT(draw.size(), 20u) << draw;
}

TEST_F(ProgressLineTest, IsWipedBeforeTheNextLineAndNotDrawnAgainInThatPhase) {
    form.logNote(Extra::VerifyingEeprom);
    EXPECT_NE(terminal.str().find("verifying the EEPROM"), std::string::npos);
    line.end();
    const std::string wiped = terminal.str();
    EXPECT_EQ(wiped.back(), '\r');
    // The countdown goes on after "EEPROM verified" and "Finished": nothing is drawn.
    form.setText(Ctl::Edit1, "29");
    form.setText(Ctl::Edit1, "Finished.");
    EXPECT_EQ(terminal.str(), wiped);
    // The next phase draws it again.
    startFlash();
    EXPECT_NE(terminal.str().size(), wiped.size());
}

}  // namespace
}  // namespace canprog::cli
