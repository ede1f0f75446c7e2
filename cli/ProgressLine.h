#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

#include "model/MainForm.h"
#include "operations/ModuleFacts.h"

namespace canprog::cli {

// The progress of an operation on one terminal line: the phase, blocks done of the total,
// per cent and the time left ("FLASH  1234/2016  61%  0:19 left"), drawn in place.
class ProgressLine : public ModelListener {
  public:
    ProgressLine(MainForm& form, const ModuleFacts& facts, std::ostream& terminal);
    ~ProgressLine() override;
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Ends the line, so that what follows starts on a line of its own.
    void end();

  private:
    enum class Phase { None, Waiting, Reading, Flash, Eeprom, Verifying };
    void controlChanged(Ctl id, Change what) override;
    void enter(Phase phase);
    void draw();

    MainForm& form_;
    const ModuleFacts& facts_;
    std::ostream& terminal_;
    Phase phase_ = Phase::None;
    std::chrono::steady_clock::time_point phaseStart_;
    int firstDone_ = 0;  // blocks already done when the phase started
    bool drawn_ = false;
};

}  // namespace canprog::cli
