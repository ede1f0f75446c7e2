#pragma once

#include <string>

namespace canprog {

// The steps of the wake-up that the link reports.
enum class WakeUpStep {
    Searching,     // the wake-up begins
    Linked,        // the bootloader answered
    Cancelled,     // the user cancelled before it answered
    NoBootloader,  // the countdown ran out without an answer
};

// What the link tells whoever runs it, and the one choice it asks of it. The link itself knows
// nothing of windows: the operations implement this over the window's model, a test or another
// program on its own.
class LinkReport {
  public:
    virtual ~LinkReport() = default;

    // A status text: the port being opened, the restart, the countdown of a reply wait.
    virtual void status(const std::string& text) = 0;
    // The wake-up's countdown after each attempt, for a progress display that follows it.
    virtual void wakeUpProgress(int ticksLeft) = 0;
    // The wake-up is over: the progress display back to its start.
    virtual void wakeUpProgressEnded() = 0;
    // A step of the wake-up, for the log.
    virtual void wakeUp(WakeUpStep step) = 0;
    // Whether the link is to agree a fresh key with the bootloader once it answers.
    virtual bool newKeyWanted() = 0;
};

}  // namespace canprog
