#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <string>

#include "model/MainForm.h"
#include "operations/ModuleFacts.h"

namespace canprog::cli {

// The progress of an operation on one terminal line: the phase, blocks done of the total,
// per cent and the time left ("FLASH  1234/2016  61%  0:19 left"), drawn in place. The line
// never reaches the terminal's last column (a wrapped line could not be drawn over), follows
// the terminal's width as it changes, and is wiped before the next log line is printed.
class ProgressLine : public ModelListener {
  public:
    // `columns` tells the terminal's width now (0 when unknown).
    ProgressLine(MainForm& form, const ModuleFacts& facts, std::ostream& terminal,
                 std::function<int()> columns);
    ~ProgressLine() override;
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // While the wake-up waits for a module to be switched on, the line shows the status it
    // counts down in ("Switch the module off and on now (42 s left)").
    void showStatusWhileWaiting() { statusWhileWaiting_ = true; }

    // Wipes the line, so that what follows is printed where it stood; it is drawn again only
    // when the next phase begins.
    void end();

  private:
    enum class Phase { None, Waiting, Reading, Flash, Eeprom, Verifying };
    void controlChanged(Ctl id, Change what) override;
    void enter(Phase phase);
    void draw();

    MainForm& form_;
    const ModuleFacts& facts_;
    std::ostream& terminal_;
    std::function<int()> columns_;
    Phase phase_ = Phase::None;
    std::chrono::steady_clock::time_point phaseStart_;
    int firstDone_ = 0;            // blocks already done when the phase started
    std::size_t drawnLength_ = 0;  // characters on the terminal's line now
    bool statusWhileWaiting_ = false;
    std::string status_;  // the status line's text, as the wake-up last set it
};

}  // namespace canprog::cli
