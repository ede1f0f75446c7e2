#pragma once

#include <chrono>

#include <functional>
#include <optional>
#include <vector>

#include "OperationOutcome.h"
#include "bootloader/BootloaderLink.h"
#include "model/MainForm.h"

namespace canprog {

// Where the wake-up shows its steps: the log alone, or the parameters page's status line too.
enum class WakeUpShownIn { Log, LogAndStatusLine };
// How the log says that the bootloader answered.
enum class LinkedText { LiteralOk, Message3 };

// How an operation's exchange with the module begins.
struct ExchangeStart {
    int startTicks = 0;  // the wake-up's countdown
    WakeUpPauses pauses;
    std::vector<Ctl> barsLoaded;     // ranged to the countdown as it is loaded
    std::vector<Ctl> barsFollowing;  // following the countdown after each attempt
    WakeUpShownIn shownIn = WakeUpShownIn::Log;
    LinkedText linkedText = LinkedText::LiteralOk;
    bool purgeBeforeWakeUp = false;  // both directions purged once more just before WAKE
};

// The link's report, written into the window's model: the status edit, the progress bars, the
// log and the status line in the window's language, and the key change check box.
class FormLinkReport : public LinkReport {
  public:
    explicit FormLinkReport(MainForm& form) : form_(form) {}

    // How the next wake-up is shown; with a `waitAttempt` (how long one attempt takes) above
    // zero, the status line says the seconds left to switch the module on.
    void showWakeUpAs(const ExchangeStart& start, std::chrono::milliseconds waitAttempt);

    void status(const std::string& text) override;
    void wakeUpProgress(int ticksLeft) override;
    void wakeUpProgressEnded() override;
    void wakeUp(WakeUpStep step) override;
    bool newKeyWanted() override;

  private:
    void show(std::size_t message);
    void showSwitchOn(int ticksLeft);
    long secondsLeft(int ticksLeft) const;

    MainForm& form_;
    std::vector<Ctl> barsFollowing_;
    std::chrono::milliseconds waitAttempt_{0};
    WakeUpShownIn shownIn_ = WakeUpShownIn::Log;
    LinkedText linkedText_ = LinkedText::LiteralOk;
};

namespace detail {
// Holds the report so that it exists before the link that is given it.
struct HeldReport {
    explicit HeldReport(MainForm& form) : report(form) {}
    FormLinkReport report;
};
}  // namespace detail

// The link as the window's operations use it: the bootloader link reporting into the window's
// model, scrambling with the window's key, counting down with the window's countdown.
class WindowLink : private detail::HeldReport, public BootloaderLink {
  public:
    WindowLink(MainForm& form, MessagePump& pump, serial::TSlioComPort& port);

    MainForm& form() { return form_; }

    // Opens the port chosen in the window.
    bool openModulePort(bool showOpeningText);

    // The start every exchange shares, once the port is open: the countdown and the bars
    // loaded, input purged, `beforeWakeUp` run, the bootloader woken. Nothing when it
    // answered; how the operation ends when it did not.
    std::optional<OperationOutcome> startExchange(const ExchangeStart& start,
                                                  const std::function<void()>& beforeWakeUp = {});

    // A module without a reset line enters its bootloader only when it is switched on: for a
    // wait above zero the wake-up goes on probing that long, and says so, instead of its own
    // short countdown.
    void setModuleWait(std::chrono::seconds wait) { moduleWait_ = wait; }

  private:
    MainForm& form_;
    std::chrono::seconds moduleWait_{0};
};

}  // namespace canprog
