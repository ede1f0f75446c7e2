#include "WindowLink.h"

#include <algorithm>

#include "model/MessageIndex.h"
#include "wait/TimeoutTicker.h"

namespace canprog {

void FormLinkReport::showWakeUpAs(const ExchangeStart& start,
                                  std::chrono::milliseconds waitAttempt) {
    barsFollowing_ = start.barsFollowing;
    waitAttempt_ = waitAttempt;
    shownIn_ = start.shownIn;
    linkedText_ = start.linkedText;
}

void FormLinkReport::status(const std::string& text) {
    form_.setText(Ctl::Edit1, text);
}

void FormLinkReport::wakeUpProgress(int ticksLeft) {
    for (Ctl bar : barsFollowing_) form_.setProgressPosition(bar, ticksLeft);
    if (waitAttempt_.count() > 0) showSwitchOn(ticksLeft);
}

long FormLinkReport::secondsLeft(int ticksLeft) const {
    return std::chrono::ceil<std::chrono::seconds>(std::max(ticksLeft, 0) * waitAttempt_).count();
}

void FormLinkReport::showSwitchOn(int ticksLeft) {
    std::string text = form_.extraMessage(Extra::SwitchModuleOn,
                                          {{"seconds", std::to_string(secondsLeft(ticksLeft))}});
    const Ctl line = shownIn_ == WakeUpShownIn::LogAndStatusLine ? Ctl::Edit3 : Ctl::Edit1;
    if (form_.text(line) != text) form_.setText(line, std::move(text));
}

void FormLinkReport::wakeUpProgressEnded() {
    for (Ctl bar : barsFollowing_) form_.setProgressPosition(bar, form_.control(bar).minimum);
}

void FormLinkReport::show(std::size_t message) {
    if (shownIn_ == WakeUpShownIn::LogAndStatusLine) {
        form_.logMessageAndShow(message);
    } else {
        form_.logMessage(message);
    }
}

void FormLinkReport::wakeUp(WakeUpStep step) {
    const bool statusLine = shownIn_ == WakeUpShownIn::LogAndStatusLine;
    switch (step) {
        case WakeUpStep::Searching:
            show(msg::Searching);
            // Said once in the log, then counted down in the status line.
            if (waitAttempt_.count() > 0) {
                form_.logNote(
                    Extra::SwitchModuleOn,
                    {{"seconds", std::to_string(secondsLeft(form_.countdown().timeoutTicks()))}});
            }
            break;
        case WakeUpStep::Linked:
            if (linkedText_ == LinkedText::Message3) {
                show(msg::Ok);
            } else {
                form_.log("OK");
                if (statusLine) form_.setText(Ctl::Edit3, "OK");
            }
            break;
        case WakeUpStep::Cancelled: show(msg::Cancel); break;
        case WakeUpStep::NoBootloader:
            show(msg::NoBootloader);
            if (statusLine) {
                form_.logNoteAndShow(Extra::CheckTheConnection, {},
                                     MainForm::ShowNote::BelowStatus);
            } else {
                form_.logNote(Extra::CheckTheConnection);
            }
            break;
    }
}

bool FormLinkReport::newKeyWanted() {
    return form_.checked(Ctl::PICencoding);
}

WindowLink::WindowLink(MainForm& form, MessagePump& pump, serial::TSlioComPort& port)
    : HeldReport(form),
      BootloaderLink(report, pump, form.countdown(), form.linkKey, port),
      form_(form) {}

bool WindowLink::openModulePort(bool showOpeningText) {
    return BootloaderLink::openModulePort(form_.selectedPortNumber(), showOpeningText);
}

std::optional<OperationOutcome> WindowLink::startExchange(
    const ExchangeStart& start, const std::function<void()>& beforeWakeUp) {
    // The countdown goes down once an attempt, however long the attempt takes.
    const bool waiting = moduleWait_.count() > 0;
    const auto attempt = std::max(start.pauses.afterWake + start.pauses.afterProbe,
                                  std::chrono::milliseconds(kTickInterval));
    const int ticks = waiting ? static_cast<int>(moduleWait_ / attempt) : start.startTicks;
    loadCountdown(ticks);
    port().DiscardInput();
    for (Ctl bar : start.barsLoaded) {
        form_.setProgressRange(bar, 0, ticks);
        form_.setProgressPosition(bar, ticks);
    }
    if (beforeWakeUp) beforeWakeUp();
    if (start.purgeBeforeWakeUp) {
        port().DiscardInput();
        port().DiscardOutput();
    }
    report.showWakeUpAs(start, waiting ? attempt : std::chrono::milliseconds(0));
    const WaitResult wake = wakeBootloader(start.pauses);
    if (wake == WaitResult::Success) return std::nullopt;
    return wake == WaitResult::Cancelled ? OperationOutcome::Cancelled
                                         : OperationOutcome::NoBootloader;
}

}  // namespace canprog
